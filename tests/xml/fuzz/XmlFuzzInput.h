// What the fuzz target does with one input; shared with the regression
// test that replays the inputs the fuzzer once found.
#pragma once

#include <exception>
#include <string>

#include "platform/rtl/Streams.h"
#include "xml/XmlDom.h"

namespace xmlfuzz {

inline void Exercise(xml::TUtf8XmlDom& doc)
{
    try {
        std::string compact = doc.WriteToString();
        xml::TUtf8XmlDom again;
        again.ReadFromString(compact);
        if (again.Root() && doc.Root()) again.Root()->IsEqualTo(doc.Root(), {xml::xcNodeName, xml::xcRecursive});
    } catch (const std::exception&) {
    }
    try {
        doc.SetXmlFormat(xml::xfReadable);
        std::string readable = doc.WriteToString();
        xml::TUtf8XmlDom again;
        again.ReadFromString(readable);
    } catch (const std::exception&) {
    }
    try {
        xml::TWideXmlDom copy;
        copy.Assign(&doc);
        if (xml::TUtf8XmlNode* root = copy.Root()) {
            root->FindNode("/a/b");
            root->SortChildNodes();
            root->DeleteEmptyNodes();
            root->ReadFloat("x", 0);
            root->ReadBool("y", false);
            root->ReadString("z", "");
        }
        rtl::TMemoryStream out;
        copy.SetExternalEncoding(xml::seUTF16LE);
        copy.SaveToStream(out);
    } catch (const std::exception&) {
    }
}

// Parses the bytes as UTF-8 text and as a file, and exercises the result.
inline void RunOne(const std::string& bytes)
{
    {
        xml::TUtf8XmlDom doc;
        try {
            doc.ReadFromString(bytes);
        } catch (const std::exception&) {
        }
        Exercise(doc);
    }
    {
        xml::TWideXmlDom doc;
        rtl::TMemoryStream m;
        m.Write(bytes.data(), static_cast<int64_t>(bytes.size()));
        try {
            doc.LoadFromStream(m);
        } catch (const std::exception&) {
        }
        Exercise(doc);
    }
}

} // namespace xmlfuzz
