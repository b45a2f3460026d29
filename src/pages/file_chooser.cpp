#include "pages/file_chooser.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QRegularExpression>

#include "files/settings.h"

namespace {

constexpr const char* kTopic = "Files";
constexpr const char* kLastFolder = "LastFolder";

FileChooser::Answerer& answerer() {
    static FileChooser::Answerer a;
    return a;
}

QString lastFolder() {
    QString folder = QString::fromStdString(Settings().readText(kTopic, kLastFolder));
    return !folder.isEmpty() && QFileInfo(folder).isDir() ? folder : QString();
}

// "*.txt" of the first pattern with a plain extension, as ".txt".
QString impliedExtension(const QString& filter) {
    static const QRegularExpression pattern(QStringLiteral("\\*(\\.[A-Za-z0-9]+)"));
    QRegularExpressionMatch m = pattern.match(filter);
    return m.hasMatch() ? m.captured(1) : QString();
}

}  // namespace

QString FileChooser::startPath(const Request& request, const QString& fallbackFolder) {
    QFileInfo suggested(request.suggested);
    if (suggested.isAbsolute()) return request.suggested;
    QString folder = lastFolder();
    if (folder.isEmpty()) folder = fallbackFolder.isEmpty() ? QDir::homePath() : fallbackFolder;
    return QDir(folder).filePath(request.suggested);
}

QString FileChooser::withExtension(const QString& path, const QString& filter) {
    QString extension = impliedExtension(filter);
    if (path.isEmpty() || extension.isEmpty() || !QFileInfo(path).suffix().isEmpty()) return path;
    return path + extension;
}

QString FileChooser::choose(QWidget* owner, const Request& request, const QString& fallbackFolder) {
    QString start = startPath(request, fallbackFolder);
    QString path;
    if (answerer())
        path = answerer()(request, start);
    else if (request.save)
        path = QFileDialog::getSaveFileName(owner, request.title, start, request.filter);
    else
        path = QFileDialog::getOpenFileName(owner, request.title, start, request.filter);
    if (path.isEmpty()) return path;
    if (request.save) path = withExtension(path, request.filter);
    Settings().writeText(kTopic, kLastFolder, QFileInfo(path).absolutePath().toStdString());
    return path;
}

void FileChooser::setAnswerer(Answerer a) {
    answerer() = std::move(a);
}
