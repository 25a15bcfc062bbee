#pragma once
// The picture side of texture loading: the colour key, the alpha companion's
// name and its merge into the picture's alpha channel. Everything happens on
// the decoded pixels before the texture is made.
#include <cstdint>
#include <string>

#include "engine/backend/image.h"

// The companion's path without its extension: directory + "_" + name, where
// the directory ends at the last '/' or '\' and the extension starts at the
// last '.' of the file name ("Resources/Images/fish.png" gives
// "Resources/Images/_fish"; a name without '.' is kept whole).
std::string AlphaCompanionBase(const std::string& path);

// The format number that the log shows for a decoded file: 41 palette, 50 grey,
// 51 grey and alpha, 20 24-bit colour, 21 and 22 32-bit colour with and without
// alpha, 23 and 25 16-bit colour without and with alpha.
std::int32_t ImageFormatNumber(const backend::DecodedImage& image);

// Pixels of exactly `key` (alpha included) become transparent black.
void ApplyColourKey(std::uint32_t* pixels, std::size_t count, std::uint32_t key);

// The alpha value that an alpha-picture pixel gives: a weighted sum of its
// colour bytes, taken in memory order (blue 0.3, green 0.59, red 0.11) as the
// game's alpha pictures were made for; a grey pixel gives its grey level.
std::uint8_t AlphaFromPixel(std::uint32_t argb);

// Overwrites the alpha byte of each of `width` x `height` ARGB words with the
// value of the alpha picture's pixel at the same place: the last byte of a
// palette, grey or grey-and-alpha pixel (index, grey level, alpha),
// `AlphaFromPixel` of a colour one. False, with the pixels unchanged, when the
// alpha picture has another width or height.
bool MergeAlphaPicture(std::uint32_t* pixels, int width, int height,
                       const backend::DecodedImage& alpha);
