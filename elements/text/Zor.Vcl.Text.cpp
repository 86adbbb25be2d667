#include "Zor.Vcl.Text.h"

// The factory's texts are never sheet copies. Their defaults are the model's own, which the
// binary reader overwrites with every value of the record.

TZORText::TZORText(TZORBaseLabel* aOwner)
    : TZORText(aOwner, false)
{
}

TZORText::TZORText(TZORBaseLabel* aOwner, TZORLayer* aLayer)
    : TZORUndrawn(aOwner, aLayer, false)
{
}

TZORParagraph::TZORParagraph(TZORBaseLabel* aOwner)
    : TZORParagraph(aOwner, false)
{
}

TZORParagraph::TZORParagraph(TZORBaseLabel* aOwner, TZORLayer* aLayer)
    : TZORUndrawn(aOwner, aLayer, false)
{
}

TZORRichText::TZORRichText(TZORBaseLabel* aOwner)
    : TZORRichText(aOwner, false)
{
}

TZORRichText::TZORRichText(TZORBaseLabel* aOwner, TZORLayer* aLayer)
    : TZORUndrawn(aOwner, aLayer, false)
{
}
