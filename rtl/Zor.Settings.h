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
    TAlphaColor GetTermColor() const { return fTermColor; }
    void SetTermColor(TAlphaColor c) { fTermColor = c; }
    // The fill of the line-end markers.
    TAlphaColor GetFillTermColor() const { return fFillTermColor; }
    void SetFillTermColor(TAlphaColor c) { fFillTermColor = c; }

private:
    float fTermSize = 1.0f; // millimetres
    TAlphaColor fTermColor = zor::claBlack;
    TAlphaColor fFillTermColor = zor::claWhite;
};
