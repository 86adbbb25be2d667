#include "Zor.Act.h"

std::atomic<int32_t> TAct::fCurAction { 1 };
int32_t TAct::fCurState = 0;
int32_t TAct::fDrawType = 0;
bool TAct::fCurEditor = false;
int32_t TAct::fCurLinkType = 0;
int32_t TAct::fMoveType = 0;
int32_t TAct::fPos1 = 0;
QString TAct::fText;

void TAct::Reset()
{
    fCurAction = 1;
    fCurState = 0;
    fDrawType = 0;
    fCurEditor = false;
    fMoveType = 0;
    fPos1 = 0;
    fText.clear();
}

void TAct::SetCurAction(int32_t action)
{
    fCurAction = action;
    fCurState = 0;
    fDrawType = 0;
}

void TAct::SetState(int32_t state)
{
    fCurState = state;
}

void TAct::SetMove(int32_t moveType, int32_t pos)
{
    fMoveType = moveType;
    fPos1 = pos;
    fCurEditor = moveType != 0;
}
