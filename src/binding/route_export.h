#pragma once

#include <array>
#include <cstdint>
#include <ctime>
#include <string>

#include "binding/route_matrix.h"

// The routing matrix as C source text: an array named after the input layout
// (the selector's item, -1 for none) and the output selection, one line per
// output with each cell as DePer(level)|switch, so that the numbers read back
// in C as the cells' 16-bit values.
class RouteExport {
public:
    using Cells = std::array<uint16_t, RouteMatrix::kCells>;
    static constexpr const char* kFolder = "VX540_RouteData";

    // "VX540_RouteIn51CH_Out71CH" and the like.
    static std::string name(int layoutItem, int outputSelection);
    // The whole file.
    static std::string fileText(int layoutItem, int outputSelection, const Cells& cells,
                                const std::tm& now);
    // What the clipboard gets: from the heading line to the last row's comment.
    static std::string clipboardText(int layoutItem, int outputSelection, const Cells& cells,
                                     const std::tm& now);
    // Writes the file into folder/VX540_RouteData, creating that folder when
    // missing; false when it cannot be written. path tells where it went.
    static bool writeFile(const std::string& folder, const std::string& name,
                          const std::string& text, std::string* path = nullptr);
    // Writes the file at exactly path, creating its folder when missing.
    static bool writeTo(const std::string& path, const std::string& text);
};
