#include "FuzzText.h"
#include "Zor.Mermaid.h"

#include <cstdlib>

using zor::TConnection;
using zor::TMermaidLeftOut;
using zor::TMermaidParser;
using zor::TNode;
using zor::TSeqEvent;

// The Mermaid reader alone, without a label: a text it takes holds nodes for every connection's
// ends and participants for every event's, and each statement it leaves out has a line.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString text = zor::fuzz::Text(data, size);
    zor::fuzz::Read([&] {
        TMermaidParser parser;
        parser.ParseMermaidCode(text);
        for (const TConnection& c : parser.GetConnections())
            if (!parser.FindNode(c.FromNode) || !parser.FindNode(c.ToNode))
                std::abort();
        for (const TSeqEvent& e : parser.GetSeqEvents())
            if (!parser.GetParticipants().contains(e.FromActor))
                std::abort();
        for (const TMermaidLeftOut& leftOut : parser.GetLeftOut())
            if (leftOut.Line < 1 || leftOut.Text.isEmpty())
                std::abort();
        for (const TNode& node : parser.GetNodes())
            (void)zor::MermaidShown(node.Text);
    });
    return 0;
}
