// Helpers shared by the XML tests.
#pragma once

#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "xml/XmlDom.h"

namespace xmltest {

// The whole subtree as text: type, name, raw value and raw attributes of
// every node, one line each, indented by depth.  Two trees are equal when
// their dumps are.
inline void Dump(xml::TUtf8XmlNode* n, int depth, std::string& out)
{
    out += std::string(static_cast<size_t>(depth) * 2, ' ') + std::to_string(n->ElementType()) + " [" +
           n->Name() + "] =[" + n->Value() + "]";
    for (int i = 0; i < n->AttributeCount(); ++i) out += " {" + n->AttributePair(i) + "}";
    out += "\n";
    for (int i = 0; i < n->NodeCount(); ++i) Dump(n->Nodes(i), depth + 1, out);
}

inline std::string Dump(xml::TUtf8XmlDom& doc)
{
    std::string out;
    for (int i = 0; i < doc.RootNodeList()->NodeCount(); ++i) Dump(doc.RootNodeList()->Nodes(i), 0, out);
    return out;
}

// The message of the exception a call raises, or "" when it raises none.
template <typename F>
std::string ErrorOf(F f)
{
    try {
        f();
    } catch (const rtl::Exception& e) {
        return e.Message();
    }
    return {};
}

inline std::string Bom()
{
    return "\xEF\xBB\xBF";
}

} // namespace xmltest
