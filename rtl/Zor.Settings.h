#pragma once

#include "Zor.Fields.h"
#include "Zor.RtlExport.h"
#include "Zor.Types.h"

// Label-wide drawing settings: the data markers and connection marks the editor shows.
class QUINDLE_RTL_EXPORT TZORSettings {
public:
    static const TZORFields<TZORSettings>& Fields();

    float GetTermSize() const { return fTermSize; }
    void SetTermSize(float s) { fTermSize = s > 0 ? s : fTermSize; }
    zor::TAlphaColor GetTermColor() const { return fTermColor; }
    void SetTermColor(zor::TAlphaColor c) { fTermColor = c; }
    // The fill of the line-end markers.
    zor::TAlphaColor GetFillTermColor() const { return fFillTermColor; }
    void SetFillTermColor(zor::TAlphaColor c) { fFillTermColor = c; }

private:
    float fTermSize = 1.0f; // millimetres
    zor::TAlphaColor fTermColor = zor::claBlack;
    zor::TAlphaColor fFillTermColor = zor::claWhite;
};
