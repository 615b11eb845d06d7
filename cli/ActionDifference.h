#pragma once

#include <string>

struct ActionList;

// What differs between two actions of one category (combination, macro, emulation), in
// words for each side: "auto delay 100 ms" against "auto delay 200 ms", "step 3: A UP"
// against "step 3: A Down". Only what differs is named; a summary that already shows the
// steps leaves them out.
namespace ActionDifference {

struct Sides {
    std::string before;
    std::string after;
};

// Empty sides when the actions are the same. `stepsShown`: the summaries printed beside them
// differ, so the steps need no words of their own.
Sides describe(int category, const ActionList &before, const ActionList &after, bool stepsShown);

} // namespace ActionDifference
