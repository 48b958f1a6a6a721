// Saving the application's XML documents.  A document is written completely
// into memory first and then put in place of the file through a temporary
// file in the same folder, so a crash or a full disk never leaves a
// truncated file behind: the old file stays until the new one is whole.
#pragma once

#include <string>

namespace xml {
class TUtf8XmlDom;
}

namespace app {

// The bytes SaveToStream gives (byte-order mark, declaration, document).
std::string XmlDocumentBytes(xml::TUtf8XmlDom& doc);
// Writes the document to fileName atomically; raises rtl::EFCreateError
// naming the file when it cannot be written.
void SaveXmlDocument(xml::TUtf8XmlDom& doc, const std::string& fileName);

} // namespace app
