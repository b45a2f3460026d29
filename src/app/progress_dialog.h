#pragma once

#include <QFont>
#include <QImage>
#include <QString>
#include <QWidget>
#include <atomic>
#include <mutex>

class QPushButton;

// The progress dialog: a small semi-transparent, always-on-top window with a
// percentage text over a filling bar, shown while the link reads the device,
// sends it a file, upgrades it or downloads an update. Maximum, format,
// position, show and hide may be called from any thread; the picture is
// composed on the caller's thread and swapped in whole, so a paint shows
// either the old or the new picture.
class ProgressDialog : public QWidget {
public:
    static constexpr int kWidth = 541;
    static constexpr int kHeight = 161;
    static constexpr int kAlpha = 220;

    // A hidden pop-up owned by the window, centred over it, showing "欢迎使用!".
    explicit ProgressDialog(QWidget* owner);

    void setMaximum(int maximum);
    void setFormat(const QString& format);
    // Redraws at once: the format filled with position * 100 / maximum, the
    // bar from 27 pixels at 0 % to 516 pixels at 100 %.
    void setPosition(int position);
    void showDialog();
    void hideDialog();
    // Offers a Cancel button (in the current language) or takes it away;
    // cancelled() tells whether it was pressed since it was offered.
    void setCancellable(bool cancellable);
    bool cancelled() const { return m_cancelled; }
    QPushButton* cancelButton() const { return m_cancel; }

    bool active() const { return m_active; }
    QString text() const;
    // False while the dialog still shows its greeting, which is no progress.
    bool showsProgress() const;
    int barWidth() const;
    QImage picture() const;

protected:
    void paintEvent(QPaintEvent*) override;
    void resizeEvent(QResizeEvent*) override;
    void mousePressEvent(QMouseEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void compose(const QString& format, int maximum, int position);
    void recentre();

    bool m_active = false;
    QWidget* m_owner;
    QFont m_font;
    qreal m_ratio = 1.0;  // the screen's, fixed before the link's thread composes
    mutable std::mutex m_mutex;
    int m_maximum = 100;
    QString m_format;
    bool m_formatGiven = false;
    QImage m_picture;
    QString m_text;
    int m_barWidth = 27;
    QPushButton* m_cancel;
    std::atomic<bool> m_cancelled{false};
};
