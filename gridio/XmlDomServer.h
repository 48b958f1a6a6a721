// XmlDomServer: the in-process stand-in for the "Microsoft.XMLDOM"
// automation object, on the xml/ library.  Late-bound members (names
// without regard to case): document load(file) and parseError (errorCode,
// line, reason) and documentElement; nodes childNodes, attributes (Null for
// nodes that are not elements), nodeName and Text; lists length and
// item(i), counted from 0.
//
// The rule a caller must know: register once at start (InstallGridIOHooks
// does it); the objects come from rtl::CreateOleObject("Microsoft.XMLDOM").
//
//   rtl::Variant dom = rtl::CreateOleObject("Microsoft.XMLDOM");
//   dom.AsDispatch()->Call("load", {rtl::Variant("/tmp/a.xml")});
#pragma once

namespace gridio {

void RegisterXmlDomServer();

} // namespace gridio
