#pragma once

// The resource id of a base image drawn at a percent other than 100; a macro
// so that the resource script names the images by the same rule.
// clang-format off: Debian 12's and 13's clang-format space the subtraction
// after a parenthesised macro argument differently.
#define SCALED_IMAGE_RESOURCE_ID(baseId, percent) (((baseId)-199) * 10000 + (percent))
// clang-format on

#ifndef RC_INVOKED
// The display scales, in percent, for which the build draws the toolbar strip,
// its strokes and the two selection patterns from their pixel maps. The steps are those
// Windows 10 and 11 offer up to 300 %; at a scale between two of them the
// program takes the images of the lower one. The build reads this list from
// the line below.
const int kImageScales[] = {100, 125, 150, 175, 200, 225, 250, 300};
const int kImageScaleCount = sizeof(kImageScales) / sizeof(kImageScales[0]);

// An image drawn at `percent` is its 96-DPI size scaled with MulDiv(size,
// percent, 100): 19 -> 29 pixels for a toolbar picture at 150 %.

// The resource id of base image 200 (toolbar strip), 201 (pen pattern), 202
// (pencil pattern) or 203 (the strip's strokes) drawn at `percent`, one of
// kImageScales: the base id itself at 100 %, else 10000, 20000, 30000 or
// 40000 plus the percent.
inline int ScaledImageId(int baseId, int percent)
{
    return percent == 100 ? baseId : SCALED_IMAGE_RESOURCE_ID(baseId, percent);
}

// The scale whose images suit a window at `dpi`: the largest step not above it.
inline int ImageScaleFor(int dpi)
{
    int chosen = kImageScales[0];
    for (int i = 0; i < kImageScaleCount; ++i)
        if (kImageScales[i] * 96 <= dpi * 100)
            chosen = kImageScales[i];
    return chosen;
}
#endif
