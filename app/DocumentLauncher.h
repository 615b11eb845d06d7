#pragma once

#include <QObject>
#include <QString>

#include <functional>

// Hands a document to the desktop to show, and says when nothing could: at once where no
// launcher is found, or when the launcher gives up soon after it started (xdg-open finds no
// program for the file's type). A launcher still running by then has shown the document, and
// whatever it ends with later is the viewer's own business.
class DocumentLauncher : public QObject {
    Q_OBJECT
public:
    using Failed = std::function<void()>;

    explicit DocumentLauncher(QObject *parent = nullptr);
    ~DocumentLauncher() override;

    // Opens `path`; `failed` is called at most once, on this thread, while the launcher lives.
    void open(const QString &path, Failed failed);

    // The program that opens documents, given the path: xdg-open where the desktop has it;
    // empty leaves it to Qt. Tests name a stand-in.
    void setLauncher(QString program) { m_launcher = std::move(program); }
    static QString desktopLauncher();

    // How long a launcher has to give up before it counts as having shown the document.
    static constexpr int VerdictMs = 15000;

private:
    void launch(const QString &path, Failed failed);

    QString m_launcher;
};
