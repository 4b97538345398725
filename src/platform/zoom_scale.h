#pragma once

// Stored zoom percentages (preferences) and the page's zoom factor (1.0 = 100 %).
// The scales sit just above each step (0.601 for 60 %) so that the 0.1 steps of the
// main window land back on the same percentages.
float PercentToZoomScale(int percent);
int ZoomScaleToPercent(float zoom);
