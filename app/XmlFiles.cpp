#include "app/XmlFiles.h"

#include "platform/rtl/Files.h"
#include "platform/rtl/Streams.h"
#include "xml/XmlDom.h"

namespace app {

std::string XmlDocumentBytes(xml::TUtf8XmlDom& doc)
{
    rtl::TStringStream stream;
    doc.SaveToStream(stream);
    return stream.DataString();
}

void SaveXmlDocument(xml::TUtf8XmlDom& doc, const std::string& fileName)
{
    rtl::WriteFileAtomic(fileName, XmlDocumentBytes(doc));
}

} // namespace app
