#include "platform/qt/message_box.h"

#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QTimer>
#include <vector>

namespace {

int languageOf(int language) {
    return language >= 0 && language <= 2 ? language : 2;
}

struct OpenBox {
    QPointer<QMessageBox> box;
    MessageBox::Request request;
    QAbstractButton* yes = nullptr;
    QAbstractButton* no = nullptr;
};

std::vector<OpenBox*> g_open;
MessageBox::Observer g_observer;

void answer(OpenBox& open, MessageBox::Answer a) {
    if (!open.box) return;
    QAbstractButton* button = a == MessageBox::Answer::Yes || !open.no ? open.yes : open.no;
    button->click();
}

}  // namespace

QString MessageBox::okText(int language) {
    static const char* texts[3] = {"确定", "確定", "OK"};
    return QString::fromUtf8(texts[languageOf(language)]);
}

QString MessageBox::yesText(int language) {
    static const char* texts[3] = {"是(&Y)", "是(&Y)", "&Yes"};
    return QString::fromUtf8(texts[languageOf(language)]);
}

QString MessageBox::cancelText(int language) {
    static const char* texts[3] = {"取消", "取消", "Cancel"};
    return QString::fromUtf8(texts[languageOf(language)]);
}

QString MessageBox::noText(int language) {
    static const char* texts[3] = {"否(&N)", "否(&N)", "&No"};
    return QString::fromUtf8(texts[languageOf(language)]);
}

MessageBox::Answer MessageBox::show(QWidget* owner, const Request& request) {
    QMessageBox box(owner);
    box.setWindowTitle(request.caption);
    QString text = request.text;
    box.setText(text.replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
    box.setTextFormat(Qt::PlainText);
    box.setIcon(QMessageBox::NoIcon);
    OpenBox open{&box, request};
    if (request.buttons == Buttons::YesNo) {
        open.yes = box.addButton(yesText(request.language), QMessageBox::YesRole);
        open.no = box.addButton(noText(request.language), QMessageBox::NoRole);
        box.setEscapeButton(open.no);
    } else if (request.buttons == Buttons::OkCancel) {
        open.yes = box.addButton(okText(request.language), QMessageBox::AcceptRole);
        open.no = box.addButton(cancelText(request.language), QMessageBox::RejectRole);
        box.setEscapeButton(open.no);
    } else {
        open.yes = box.addButton(okText(request.language), QMessageBox::AcceptRole);
        box.setEscapeButton(open.yes);
    }
    // A question's Enter takes the safe answer: nothing is overwritten or lost by a stray key.
    box.setDefaultButton(static_cast<QPushButton*>(open.no ? open.no : open.yes));

    g_open.push_back(&open);
    if (g_observer) {
        Observer observer = g_observer;
        QTimer::singleShot(0, &box, [&open, observer] {
            if (auto a = observer(open.request)) answer(open, *a);
        });
    }
    box.exec();
    std::erase(g_open, &open);

    if (request.buttons == Buttons::Ok) return Answer::Yes;
    return box.clickedButton() == open.yes ? Answer::Yes : Answer::No;
}

void MessageBox::setObserver(Observer observer) {
    g_observer = std::move(observer);
}

int MessageBox::openCount() {
    return static_cast<int>(g_open.size());
}

std::optional<MessageBox::Request> MessageBox::innermost() {
    if (g_open.empty()) return std::nullopt;
    return g_open.back()->request;
}

bool MessageBox::answerInnermost(Answer a) {
    if (g_open.empty()) return false;
    answer(*g_open.back(), a);
    return true;
}
