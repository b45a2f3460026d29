#pragma once

#include <QString>
#include <functional>

class QWidget;

// The program's file dialogs: they open in the folder the user chose last
// (kept in the settings) and give a saved name the extension its filter
// implies when it has none. Tests answer in place of the dialog.
class FileChooser {
public:
    struct Request {
        QString title;
        QString suggested;  // a name, or a path whose folder wins over the last one
        QString filter;     // "Filters (*.txt);;* (*)": the first pattern's extension counts
        bool save = true;
    };
    // The path the dialog starts at: the suggestion's name in the last folder
    // (or, with none kept yet, in fallbackFolder).
    static QString startPath(const Request& request, const QString& fallbackFolder);
    // The chosen path, with the extension added where it lacks one; empty when cancelled.
    static QString choose(QWidget* owner, const Request& request,
                          const QString& fallbackFolder = QString());
    static QString withExtension(const QString& path, const QString& filter);

    using Answerer = std::function<QString(const Request& request, const QString& startPath)>;
    static void setAnswerer(Answerer answerer);
};
