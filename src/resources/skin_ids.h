#pragma once

// The skin's pictures, as the windows and controls ask for them.
enum class SkinId {
    None,  // no picture
    // The program's icon
    ProgramIcon,
    // Bitmaps
    ProgressEmpty,
    ProgressFull,
    MainWindow,
    ChannelTest,
    RouteCell,
    RouteCellOn,
    RouteCellNarrow,
    // PNG strips
    CloseButton,
    MaximiseButton,
    MinimiseButton,
    NavigationButton,
    BandStrip,
    Slider,
    PageCombo,
    WideButton,
    Button,
    StatusButton,
    HeaderCombo,
    DarkButton,
    AmberButton,
    IntegerSlider,
};
