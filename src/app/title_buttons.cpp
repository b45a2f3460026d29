#include "app/title_buttons.h"

#include "app/window_text_style.h"
#include "resources/skin_ids.h"
#include "texts/device_state_texts.h"
#include "texts/ui_texts.h"

namespace {

struct Place {
    SkinId png;
    double left, top, width, height;  // left and width scale with sx, top with sy, height with s
};
const Place kPlaces[TitleButtons::Count] = {
    {SkinId::MinimiseButton, 967, 0, 31, 22}, {SkinId::MaximiseButton, 998, 0, 31, 22},
    {SkinId::CloseButton, 1029, 0, 31, 22},   {SkinId::StatusButton, 994, 30, 79, 23},
    {SkinId::Button, 942, 84, 77, 18},
};
constexpr QRgb kSuspendedColour = 0xFF9A0000;  // dark red on the amber face

QString text(const TextTriple& t) {
    return QString::fromUtf8(t.get());
}

QString statusText(DeviceStatePanel::State state) {
    using State = DeviceStatePanel::State;
    switch (state) {
        case State::Live:
            return text(uitext::ConnectionState[0]);
        case State::Reading:
            return text(devicetext::ReadingStatus);
        case State::Suspended:
            return text(uitext::ConnectionState[2]);
        default:
            return text(uitext::ConnectionState[1]);
    }
}

}  // namespace

TitleButtons::TitleButtons(QWidget& window) : QObject(&window) {
    for (auto& b : m_buttons) b.setParent(&window);
}

void TitleButtons::place(DrawingSurface* background, double sx, double sy, bool create) {
    using namespace windowTextStyle;
    m_s = std::min(sx, sy);
    for (int i = 0; i < Count; ++i) {
        const Place& place = kPlaces[i];
        QRect r(static_cast<int>(place.left * sx), static_cast<int>(place.top * sy),
                static_cast<int>(place.width * sx), static_cast<int>(place.height * m_s + 0.5));
        SkinButton& b = button(i);
        if (create) {
            b.create(r);
            b.setImage(background, place.png);
        } else {
            b.setGeometry(r);
        }
        // Also recaptures the background the button sits on.
        b.setTextStyle(kSize * m_s, kFace, kColour, kCentred, kOnColour);
    }
}

void TitleButtons::showState(DeviceStatePanel::State state) {
    using namespace windowTextStyle;
    using State = DeviceStatePanel::State;
    SkinButton& status = button(Status);
    bool suspended = state == State::Suspended;
    status.setTextStyle(kSize * m_s, kFace, suspended ? kSuspendedColour : kColour, kCentred,
                        suspended ? kSuspendedColour : kOnColour);
    status.setCheckType(state == State::Live ? 2 : 1);
    status.setText(statusText(state));
}

void TitleButtons::refreshTexts() {
    button(TrackTest).setText(text(uitext::TrackTest));
}

void TitleButtons::drawTo(DrawingSurface& frame) {
    for (auto& b : m_buttons) b.drawToSurface(frame, false);
}
