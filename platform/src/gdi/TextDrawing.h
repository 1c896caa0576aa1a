// Text in a box (DrawTextW) and the background fill the text calls share.
#pragma once

#include <cairo.h>

#include <string>

#include "gdi/DeviceContext.h"

namespace platform::gdi {

int DrawTextOn(DeviceContext& dc, FontFace& face, const wchar_t* text, size_t count, RECT& rect, UINT format);

void FillTextBackground(cairo_t* cr, const DeviceContext::State& state, double x, double y, double w, double h);

}  // namespace platform::gdi
