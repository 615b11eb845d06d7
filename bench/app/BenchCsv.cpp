#include "BenchCsv.h"

#include <charconv>
#include <sstream>

namespace {

// One line of fields; quoted fields may hold commas and doubled quotes.
std::vector<std::string> splitCsv(const std::string &line)
{
    std::vector<std::string> fields(1);
    bool quoted = false;
    for (std::size_t i = 0; i < line.size(); ++i) {
        const char c = line[i];
        if (quoted) {
            if (c != '"')
                fields.back() += c;
            else if (i + 1 < line.size() && line[i + 1] == '"')
                fields.back() += line[++i];
            else
                quoted = false;
        } else if (c == '"') {
            quoted = true;
        } else if (c == ',') {
            fields.emplace_back();
        } else if (c != '\r') {
            fields.back() += c;
        }
    }
    return fields;
}

bool toMilliseconds(const std::string &value, const std::string &unit, double &milliseconds)
{
    double number = 0;
    const auto [end, error] = std::from_chars(value.data(), value.data() + value.size(), number);
    if (error != std::errc() || end != value.data() + value.size())
        return false;
    if (unit == "ns")
        milliseconds = number / 1e6;
    else if (unit == "us")
        milliseconds = number / 1e3;
    else if (unit == "ms")
        milliseconds = number;
    else if (unit == "s")
        milliseconds = number * 1e3;
    else
        return false;
    return true;
}

int column(const std::vector<std::string> &header, const char *name)
{
    for (std::size_t i = 0; i < header.size(); ++i) {
        if (header[i] == name)
            return int(i);
    }
    return -1;
}

} // namespace

std::vector<BenchRow> parseBenchmarkCsv(const std::string &text)
{
    std::vector<BenchRow> rows;
    std::istringstream lines(text);
    std::vector<std::string> header;
    int name = -1, time = -1, unit = -1, label = -1, failed = -1, message = -1;
    for (std::string line; std::getline(lines, line);) {
        if (line.empty() || line == "\r")
            continue;
        // Rows begin with their quoted name; anything else is a program's own output.
        if (!header.empty() && line[0] != '"')
            continue;
        const std::vector<std::string> fields = splitCsv(line);
        if (header.empty()) {
            if (fields.empty() || fields[0] != "name")
                continue;
            header = fields;
            name = column(header, "name");
            time = column(header, "real_time");
            unit = column(header, "time_unit");
            label = column(header, "label");
            failed = column(header, "error_occurred");
            message = column(header, "error_message");
            if (time < 0 || unit < 0)
                header.clear();
            continue;
        }
        const auto field = [&fields](int at) {
            return at >= 0 && std::size_t(at) < fields.size() ? fields[std::size_t(at)]
                                                              : std::string();
        };
        BenchRow row;
        row.name = field(name);
        row.label = field(label);
        row.errorMessage = field(message);
        row.failed = field(failed) == "true"
                     || !toMilliseconds(field(time), field(unit), row.milliseconds);
        rows.push_back(std::move(row));
    }
    return rows;
}

const BenchRow *findRow(const std::vector<BenchRow> &rows, const std::string &name)
{
    for (const BenchRow &row : rows) {
        if (row.name == name)
            return &row;
    }
    return nullptr;
}
