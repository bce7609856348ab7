// Picture generator: the designs, one function per picture (or family).
// Each knows the quad its picture is drawn on (its Footprint), so text and
// round shapes are pre-distorted to look right on the 640 x 480 screen.
#pragma once

#include "Footprint.h"
#include "Picture.h"
#include "Studio.h"

namespace picgen {

// Backgrounds (opaque, full screen unless said otherwise).
Picture openingBackground(Studio& studio);   // part01_bg: night nebula, slowly zoomed
Picture knotBackground(Studio& studio);      // bg02: warm eclipse behind the knot
Picture closingBackground(Studio& studio);   // part02_bg: dawn, dimmed to 60 %
Picture flightBackground(Studio& studio);    // bg01: speed streaks, dimmed to 40 %

// Overlays and logos (alpha carries the shape).
Picture openingOverlay(Studio& studio);      // part01_overlay: title plate, lower left
Picture closingOverlay(Studio& studio);      // part02_overlay: frame, drawn mirrored
Picture flightLogo(Studio& studio);          // logga2: the show's name, flashes white
Picture nameLogo(Studio& studio, int person);  // logo_morrik, logo_telva (0, 1)

// People.
Picture tunnelPortrait(Studio& studio);      // pulkar: a medallion that wobbles mid-screen
Picture knotPortrait(Studio& studio);        // dransel: bust in the lower left
Picture photo(Studio& studio, int person, int treatment);  // morrik0N, telva0N

// The scroller scene.
Picture scroller(Studio& studio);            // scroller: wide picture of text
Picture scrollOver(Studio& studio);          // scroll_over: additive shimmer

}  // namespace picgen
