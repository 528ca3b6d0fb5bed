// ColourPalette: the sixteen colours that WhtClr and BlkClr index, 0 white to 15 black, each with
// the bitmap name of its picker button (the button's caption in the template). The palette
// template cursor, the picker buttons' pictures and their captions are all made from this table.
#pragma once
#include <cstdint>

struct PaletteColour {
  const char* buttonName;
  uint8_t red, green, blue;
};

constexpr int kPaletteSize = 16;
constexpr PaletteColour kColourPalette[kPaletteSize] = {
    {"BMBWHITE", 255, 255, 255}, {"BMBRED", 255, 0, 0},        {"BMBGREEN", 0, 255, 0},
    {"BMBBLUE", 0, 0, 255},      {"BMBCYAN", 0, 255, 255},     {"BMBMAGENTA", 255, 0, 255},
    {"BMBYELLOW", 255, 255, 0},  {"BMBDKRED", 128, 0, 0},      {"BMBDKGREEN", 0, 128, 0},
    {"BMBDKBLUE", 0, 0, 128},    {"BMBDKCYAN", 0, 128, 128},   {"BMBDKMAGENTA", 128, 0, 128},
    {"BMBDKYELLOW", 128, 128, 0}, {"BMBLTGRAY", 192, 192, 192}, {"BMBDKGRAY", 128, 128, 128},
    {"BMBBLACK", 0, 0, 0},
};
