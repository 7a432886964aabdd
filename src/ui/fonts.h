#pragma once

// The screen's fonts are named as the operator's layouts name them ("黑体", "MS Sans Serif");
// these map them to the fonts installed here.
void installFontSubstitutions();
