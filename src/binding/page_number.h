#pragma once

// The window's pages in the order of its page buttons. The binding, the
// pages, the window and the command-line tool all number them so.
namespace pageNumber {

constexpr int Main = 0;
constexpr int Centre = 1;
constexpr int Subwoofer = 2;
constexpr int BackSurround = 3;
constexpr int Surround = 4;
constexpr int Music = 5;
constexpr int Microphone = 6;
constexpr int Echo = 7;
constexpr int Reverb = 8;
constexpr int System = 9;
constexpr int Count = 10;

constexpr int Outputs = 5;             // pages 0 to 4
constexpr int FirstEqualiser = Music;  // music to reverb share one page design
constexpr int LastEqualiser = Reverb;
constexpr int WithBands = Reverb + 1;

constexpr bool isOutput(int page) {
    return page >= 0 && page < Outputs;
}
// Output pages of a left and right channel pair.
constexpr bool isPair(int page) {
    return page == Main || page == BackSurround || page == Surround;
}

}  // namespace pageNumber
