#include "Zor.Act.h"

using namespace zor;

std::atomic<int32_t> TAct::fCurAction { acSelect };
int32_t TAct::fCurState = stIdle;
int32_t TAct::fDrawType = dtNone;
bool TAct::fCurEditor = false;
int32_t TAct::fCurLinkType = 0;
TZORFlowType TAct::fCurFlowType = TZORFlowType::Process;
int32_t TAct::fMoveType = mtNone;
int32_t TAct::fPos1 = 0;
QString TAct::fText;
std::vector<TZORPto> TAct::fPoints;

namespace {

bool OneOf(int32_t v, std::initializer_list<int32_t> set)
{
    for (int32_t s : set)
        if (v == s)
            return true;
    return false;
}

// The preview of a flowchart node follows its outline.
int32_t FlowDrawType(TZORFlowType t)
{
    switch (t) {
    case TZORFlowType::Terminal:
    case TZORFlowType::StartEnd:
        return dtRounded;
    case TZORFlowType::Document:
    case TZORFlowType::MultiDocument:
        return dtDocument;
    case TZORFlowType::Decision:
        return dtDiamond;
    case TZORFlowType::InputOutput:
    case TZORFlowType::ManualOperation:
        return dtParallelogram;
    case TZORFlowType::Preparation:
        return dtHexagon;
    case TZORFlowType::Connector:
        return dtOval;
    case TZORFlowType::Link:
        return dtPentagon;
    case TZORFlowType::Database:
        return dtCurvedRight;
    case TZORFlowType::LoopStop:
        return dtCurvedLeft;
    default:
        return dtRectangle;
    }
}

} // namespace

void TAct::Reset()
{
    fCurAction = acSelect;
    fCurState = stIdle;
    fDrawType = dtNone;
    fCurEditor = false;
    fMoveType = mtNone;
    fPos1 = 0;
    fText.clear();
    fPoints.clear();
}

int32_t TAct::FirstState(int32_t action)
{
    switch (action) {
    case acSelect:
    case acMove:
        return stIdle;
    case acTextEdit:
    case acTextSelect:
        return stTyping;
    case acEllipse:
        return stCentre;
    case acTrim:
    case acRefLine:
    case acExtend:
    case acOffset:
        return stRef1;
    default:
        return stFirst;
    }
}

int32_t TAct::ToolDrawType(int32_t action, int32_t state)
{
    if (state == stTyping)
        return OneOf(action, { acText, acTextEdit }) ? dtText : dtNone;
    if (OneOf(action, { acLink }))
        return dtLink;
    if (OneOf(action, { acPolyLink }))
        return dtPolyLink;
    if (action == acRefLine)
        return state == stRef2 ? dtLine : dtNone;
    if (OneOf(action, { acDim, acDimAligned }))
        return state == stFirst ? dtNone : dtDim;
    if (state == stFirst || state == stCentre)
        return dtNone;
    if (OneOf(action, { acLine, acArrowLine, acPolyLine, acPolygon, acBezier, acDimRadius, acDimRadiusOut,
            acDimDiameter, acDimDiameterOut }))
        return dtLine;
    if (OneOf(action, { acRectangle, acParagraph, acRichText, acImage, acTable, acRank, acNutriScore, acPackage }))
        return dtRectangle;
    if (action == acFlow)
        return FlowDrawType(fCurFlowType);
    if (OneOf(action, { acCircle, acLevel, acSector }))
        return dtCircle;
    if (OneOf(action, { acCircle2P, acSector2P }))
        return dtCircle2P;
    if (OneOf(action, { acCircle3P, acSector3P }))
        return dtCircle3P;
    if (action == acArc3P)
        return dtArc3P;
    if (action == acEllipse)
        return dtEllipse;
    return dtNone;
}

void TAct::SetCurAction(int32_t action)
{
    if (action < acSelect || action > acLast)
        action = acSelect;
    fCurAction = action;
    fCurState = FirstState(action);
    fDrawType = ToolDrawType(action, fCurState);
    fPoints.clear();
}

void TAct::SetState(int32_t state)
{
    fCurState = state;
    fDrawType = ToolDrawType(fCurAction, state);
}

void TAct::SetMove(int32_t moveType, int32_t pos)
{
    fMoveType = moveType;
    fPos1 = pos;
    fCurEditor = moveType != mtNone;
    if (fCurEditor) {
        fCurAction = acMove;
        fDrawType = dtMoving;
    }
}

int64_t TAct::GetPointX(int32_t i)
{
    return i >= 0 && i < NumPoints() ? fPoints[size_t(i)].X : 0;
}

int64_t TAct::GetPointY(int32_t i)
{
    return i >= 0 && i < NumPoints() ? fPoints[size_t(i)].Y : 0;
}

void TAct::AddPoint(int64_t x, int64_t y)
{
    fPoints.push_back({ x, y });
}
