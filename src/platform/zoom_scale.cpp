#include "zoom_scale.h"

float PercentToZoomScale(int p)
{
    if (p < 30) return 0.201f;
    if (p < 40) return 0.301f;
    if (p < 50) return 0.401f;
    if (p < 60) return 0.501f;
    if (p < 70) return 0.601f;
    if (p < 80) return 0.701f;
    if (p < 90) return 0.801f;
    if (p < 100) return 0.901f;
    return 1.001f;
}

int ZoomScaleToPercent(float z)
{
    if (z < 0.3f) return 20;
    if (z < 0.4f) return 30;
    if (z < 0.5f) return 40;
    if (z < 0.6f) return 50;
    if (z < 0.7f) return 60;
    if (z < 0.8f) return 70;
    if (z < 0.9f) return 80;
    if (z < 1.0f) return 90;
    return 100;
}
