#pragma once

// Version of the label file forms this library writes. A field added to a record after 3100
// names the version that brought it (TZORField::Since), so that a binary record of an older file
// reads without it and keeps the field's default.
constexpr int ZORFileVersion = 3104;
// The version that brought the label's reference lines.
constexpr int ZORRefLinesVersion = 3103;
// The version that brought the place of a link's ends along their anchors' sides.
constexpr int ZORLinkAlongVersion = 3104;
// The oldest version read.
constexpr int ZORFirstFileVersion = 3000;
