#include "binding/route_export.h"

#include <cstdio>
#include <filesystem>
#include <fstream>

namespace {

const char* const kInputParts[RouteMatrix::kLayouts] = {"In20CH", "In21CH", "In30CH",
                                                        "In31CH", "In51CH", "In71CH"};
const char* const kOutputParts[RouteMatrix::kLayouts] = {"Out20", "Out21", "Out30",
                                                         "Out31", "Out51", "Out71"};
constexpr const char* kOutputTag =
    "Out20-FL            FR                  SW             CEN                 SL          "
    "       SR                 BL                BR";
const char* const kRowComments[RouteMatrix::kSize] = {
    "//FL-CH1\r\n\t",  "//FR-CH2\r\n\t", "//SL-CH3\r\n\t", "//SR-CH4\r\n\t",
    "//CEN-CH5\r\n\t", "//SW-CH6\r\n\t", "//BL-CH7\r\n\t", "//BR-CH8"};
constexpr const char* kFileEnd = "\r\n};\r\n";

std::string inputPart(int item) {
    return item >= 0 && item < RouteMatrix::kLayouts ? kInputParts[item] : "InXXCH";
}

std::string outputPart(int selection) {
    return selection >= 0 && selection < RouteMatrix::kLayouts ? kOutputParts[selection] : "OutXX";
}

std::string head(const std::string& name) {
    return "#include \"main_data.h\" \r\n\r\n#define DePer(VOL)   (VOL<<8)\r\nconst unsigned "
           "short " +
           name + "[]=\r\n{\r\n";
}

// From the heading line to the last row's comment.
std::string body(int layoutItem, int outputSelection, const RouteExport::Cells& cells,
                 const std::tm& now) {
    std::string text = "//" + inputPart(layoutItem) + ">" + outputPart(outputSelection) +
                       std::string(kOutputTag).substr(5);
    char stamp[64];
    std::strftime(stamp, sizeof stamp, "\t%Y-%m-%d %H:%M:%S\r\n\t", &now);
    text += stamp;
    for (int row = 0; row < RouteMatrix::kSize; ++row) {
        for (int column = 0; column < RouteMatrix::kSize; ++column) {
            uint16_t v = cells[static_cast<size_t>(row * RouteMatrix::kSize + column)];
            char cell[32];
            std::snprintf(cell, sizeof cell, "DePer(%3d)|%d,", v >> 8, v & 0xFF);
            text += cell;
        }
        text += kRowComments[row];
    }
    return text;
}

}  // namespace

std::string RouteExport::name(int layoutItem, int outputSelection) {
    return "VX540_Route" + inputPart(layoutItem) + "_" + outputPart(outputSelection) + "CH";
}

std::string RouteExport::fileText(int layoutItem, int outputSelection, const Cells& cells,
                                  const std::tm& now) {
    return head(name(layoutItem, outputSelection)) + body(layoutItem, outputSelection, cells, now) +
           kFileEnd;
}

std::string RouteExport::clipboardText(int layoutItem, int outputSelection, const Cells& cells,
                                       const std::tm& now) {
    return body(layoutItem, outputSelection, cells, now);
}

bool RouteExport::writeFile(const std::string& folder, const std::string& name,
                            const std::string& text, std::string* path) {
    namespace fs = std::filesystem;
    fs::path dir = fs::path(folder) / kFolder;
    fs::path file = dir / (name + ".c");
    if (path) *path = file.string();
    return writeTo(file.string(), text);
}

bool RouteExport::writeTo(const std::string& path, const std::string& text) {
    namespace fs = std::filesystem;
    std::error_code error;
    fs::path file(path);
    if (file.has_parent_path()) fs::create_directories(file.parent_path(), error);
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    if (!out) return false;
    out << text;
    out.close();
    return !out.fail();
}
