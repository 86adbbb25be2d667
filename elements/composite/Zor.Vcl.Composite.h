#pragma once

// The composite elements: flowchart nodes, links, tables, poly texts, ratings, nutrition scores
// and library symbols.
#include "Zor.Vcl.Flow.h"
#include "Zor.Vcl.Link.h"
#include "Zor.Vcl.Nutri.h"
#include "Zor.Vcl.Poly.h"
#include "Zor.Vcl.Rank.h"
#include "Zor.Vcl.Symbol.h"
#include "Zor.Vcl.Table.h"
