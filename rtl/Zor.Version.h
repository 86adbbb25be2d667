#pragma once

// Version of the label file forms this library writes.
constexpr int ZORFileVersion = 3100;
