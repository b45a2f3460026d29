#pragma once

#include <QRect>
#include <QSize>

// Where things lie inside the skin's pictures, for the controls that cut them up.
namespace SkinLayout {

// Button strips hold four frames side by side, each as wide as the button is
// at design size (a button's frame count is the image width divided by its
// width): 0 off, 1 on, 2 the hover overlay (drawn over 0 or 1), 3 pressed.
inline constexpr int kButtonFrames = 4;
inline constexpr QSize kTitleButtonFrame{31, 22};   // 136, 137, 138
inline constexpr QSize kNavigationFrame{71, 21};    // 139
inline constexpr QSize kButtonFrame{77, 18};        // 145, 156
inline constexpr QSize kWideButtonFrame{170, 18};   // 144
inline constexpr QSize kStatusButtonFrame{79, 23};  // 147
inline constexpr QSize kDarkButtonFrame{110, 22};   // 153

// Combo faces: two frames side by side, 0 unfocused, 1 focused.
inline constexpr QSize kPageComboFrame{169, 19};    // 143, combo skin index 1
inline constexpr QSize kHeaderComboFrame{100, 19};  // 150, combo skin index 2

// The value slider's picture (142): the track without and with room for the
// toggle (each 170 x 19, the track image band of the control), the thumb and
// its focused variant (18 x 16), the toggle off and on (15 x 15).
namespace Slider {
inline constexpr QSize kImage{170, 54};
inline constexpr QRect kTrack{0, 0, 170, 19};
inline constexpr QRect kTrackWithToggle{0, 19, 170, 19};
inline constexpr QRect kThumb{0, 38, 18, 16};
inline constexpr QRect kThumbFocused{18, 38, 18, 16};
inline constexpr QRect kToggleOff{36, 38, 15, 15};
inline constexpr QRect kToggleOn{51, 38, 15, 15};
// The groove inside a track picture, in track picture units: centre y and its
// ends (the thumb centre at the minimum and at the maximum).
inline constexpr int kGrooveY = 10;
inline constexpr int kGrooveStart = 10;
inline constexpr int kGrooveEnd = 159;
inline constexpr int kGrooveEndWithToggle = 144;
}  // namespace Slider

// The EQ band strip's picture (141) in its layout row 1: the face at the
// origin, the thumbs and the three type-icon columns where the strip's
// layout table looks for them.
namespace BandStrip {
inline constexpr QSize kImage{114, 244};
inline constexpr QRect kFace{0, 0, 52, 189};
inline constexpr QRect kGainBox{5, 6, 42, 11};
inline constexpr QRect kFrequencyBox{5, 147, 42, 11};
inline constexpr QRect kQBox{5, 170, 42, 11};
inline constexpr QRect kBandNumberBox{0, 45, 18, 18};
inline constexpr int kTrackX = 31;
inline constexpr int kTrackTop = 33;
inline constexpr int kTrackBottom = 127;
inline constexpr QRect kIconArea{1, 66, 15, 69};
inline constexpr QRect kThumbFocused{24, 197, 16, 21};
inline constexpr QRect kThumb{24, 222, 16, 21};
// Column k shows the three icons (peaking, high shelf, low shelf, 27 units
// apart) with icon k selected.
inline constexpr QRect kIconColumn[3] = {{62, 0, 15, 68}, {80, 0, 15, 68}, {98, 0, 15, 68}};
inline constexpr int kIconPitch = 27;
inline constexpr int kIconSize = 15;
}  // namespace BandStrip

// The integer slider's picture (169), at its layout row 11 (96 x 21, the
// groove at y 7 from x 7 to x 89): the track lit (the part from the minimum
// to the thumb) and dim (the rest), the thumb and its focused variant.
namespace IntegerSlider {
inline constexpr QSize kImage{96, 56};
inline constexpr QRect kTrackLit{0, 0, 96, 21};
inline constexpr QRect kTrackDim{0, 21, 96, 21};
inline constexpr QRect kThumb{0, 42, 15, 14};
inline constexpr QRect kThumbFocused{15, 42, 15, 14};
inline constexpr int kGrooveY = 7;
inline constexpr int kGrooveStart = 7;
inline constexpr int kGrooveEnd = 89;
}  // namespace IntegerSlider

}  // namespace SkinLayout
