#pragma once

// Numbers of the skin's pictures, as the windows and controls ask for them.
namespace SkinId {
// The program's icon
inline constexpr int ProgramIcon = 128;
// Bitmaps
inline constexpr int ProgressEmpty = 132;
inline constexpr int ProgressFull = 133;
inline constexpr int MainWindow = 134;
inline constexpr int ChannelTest = 160;
inline constexpr int RouteCell = 170;
inline constexpr int RouteCellOn = 171;
inline constexpr int RouteCellNarrow = 172;
// PNG strips
inline constexpr int CloseButton = 136;
inline constexpr int MaximiseButton = 137;
inline constexpr int MinimiseButton = 138;
inline constexpr int NavigationButton = 139;
inline constexpr int BandStrip = 141;
inline constexpr int Slider = 142;
inline constexpr int PageCombo = 143;
inline constexpr int WideButton = 144;
inline constexpr int Button = 145;
inline constexpr int StatusButton = 147;
inline constexpr int HeaderCombo = 150;
inline constexpr int DarkButton = 153;
inline constexpr int AmberButton = 156;
inline constexpr int IntegerSlider = 169;
}  // namespace SkinId
