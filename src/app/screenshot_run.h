#pragma once

#include <QObject>
#include <QString>

class MainWindow;
class QtLinkUi;
class QTimer;
class QWidget;

// Pictures of the running program for its documentation: the screen while
// the progress dialog shows the full read, then, once connected, the main
// window at design size and at twice that size, and the front-pair output
// page, the microphone page and the reverb page, each edited as a user would
// to show several bands and the filters, and the system page, at both sizes;
// then the routing page and the channel test at both sizes, and the Wi-Fi
// settings dialog. Ends the program when done.
class ScreenshotRun : public QObject {
public:
    ScreenshotRun(MainWindow& window, QtLinkUi& ui, const QString& folder);

private:
    void poll();
    bool save(const QImage& image, const QString& name);
    void editFrontPair();
    void selectPage(int page);
    void dialogs(int step);
    static bool wifiDialogFilled(QWidget* dialog);

    MainWindow& m_window;
    QtLinkUi& m_ui;
    QString m_folder;
    QTimer* m_timer;
    int m_ticks = 0;
    bool m_progressShot = false;
    int m_waitedForRead = 0;
    int m_step = 0;
};
