// OfficeWord: the "word.application" stand-in, a document model written
// as Office Open XML word-processing files.  An opened document keeps its
// content and package parts; positions count body blocks (paragraphs and
// tables), so a range is the place before one block.
#include <algorithm>
#include <variant>

#include "gridio/OfficeDispatch.h"
#include "gridio/OfficeServers.h"
#include "gridio/ZipArchive.h"
#include "platform/rtl/OleClasses.h"

namespace gridio {

namespace {

const char* const kWordNs = "http://schemas.openxmlformats.org/wordprocessingml/2006/main";

struct TTable {
    int Rows = 0, Cols = 0;
    std::vector<std::string> Texts;  // row-major
    std::vector<int> Align;          // 0 left, 1 centre, 2 right
    std::string& Text(int r, int c) { return Texts[static_cast<size_t>((r - 1) * Cols + c - 1)]; }
    int& Alignment(int r, int c) { return Align[static_cast<size_t>((r - 1) * Cols + c - 1)]; }
};

using TBlock = std::variant<std::string, std::shared_ptr<TTable>>;  // raw XML or a table made here

struct TDoc {
    std::vector<TBlock> Blocks;
    std::string Head, Tail, SectPr;  // around the body's blocks (kept from an opened file)
    TZipArchive Package;
    bool Opened = false;
};

struct TWordState {
    std::vector<std::shared_ptr<TDoc>> Docs;
    std::shared_ptr<TDoc> Active;
    size_t SelPos = 0;        // the selection: before this block
    std::string Typed;        // text typed since the last paragraph break
};

// The top-level elements of an XML fragment, each as its text.
std::vector<std::string> SplitElements(const std::string& s)
{
    std::vector<std::string> out;
    size_t pos = 0, start = 0;
    int depth = 0;
    while (true) {
        const size_t lt = s.find('<', pos);
        if (lt == std::string::npos) break;
        if (s.compare(lt, 4, "<!--") == 0) {
            pos = s.find("-->", lt);
            pos = pos == std::string::npos ? s.size() : pos + 3;
            continue;
        }
        const size_t gt = s.find('>', lt);
        if (gt == std::string::npos) break;
        if (s[lt + 1] == '?' || s[lt + 1] == '!') {
            pos = gt + 1;
            continue;
        }
        if (s[lt + 1] == '/') {
            if (--depth == 0) out.push_back(s.substr(start, gt + 1 - start));
        } else {
            if (depth == 0) start = lt;
            if (s[gt - 1] == '/') {
                if (depth == 0) out.push_back(s.substr(start, gt + 1 - start));
            } else {
                ++depth;
            }
        }
        pos = gt + 1;
    }
    return out;
}

std::string Runs(const std::string& text)
{
    std::string out = "<w:r>";
    std::string part;
    auto flush = [&] {
        out += "<w:t xml:space=\"preserve\">" + XmlEscape(part) + "</w:t>";
        part.clear();
    };
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' || text[i] == '\n') {
            if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
            flush();
            out += "<w:br/>";
        } else {
            part += text[i];
        }
    }
    flush();
    return out + "</w:r>";
}

std::string Paragraph(const std::string& text, int align = 0)
{
    std::string p = "<w:p>";
    if (align == 1) p += "<w:pPr><w:jc w:val=\"center\"/></w:pPr>";
    if (align == 2) p += "<w:pPr><w:jc w:val=\"right\"/></w:pPr>";
    if (!text.empty()) p += Runs(text);
    return p + "</w:p>";
}

std::string TableXml(const TTable& t)
{
    const int w = std::max(600, 9000 / std::max(1, t.Cols));
    std::string x = "<w:tbl><w:tblPr><w:tblW w:w=\"0\" w:type=\"auto\"/><w:tblBorders>";
    for (const char* side : {"top", "left", "bottom", "right", "insideH", "insideV"})
        x += std::string("<w:") + side + " w:val=\"single\" w:sz=\"4\" w:space=\"0\" w:color=\"000000\"/>";
    x += "</w:tblBorders></w:tblPr><w:tblGrid>";
    for (int c = 0; c < t.Cols; ++c) x += "<w:gridCol w:w=\"" + std::to_string(w) + "\"/>";
    x += "</w:tblGrid>";
    for (int r = 1; r <= t.Rows; ++r) {
        x += "<w:tr>";
        for (int c = 1; c <= t.Cols; ++c) {
            TTable& m = const_cast<TTable&>(t);
            x += "<w:tc><w:tcPr><w:tcW w:w=\"" + std::to_string(w) + "\" w:type=\"dxa\"/></w:tcPr>" +
                 Paragraph(m.Text(r, c), m.Alignment(r, c)) + "</w:tc>";
        }
        x += "</w:tr>";
    }
    return x + "</w:tbl>";
}

bool HasBookmark(const std::string& block, const std::string& name)
{
    for (size_t at = block.find("<w:bookmarkStart"); at != std::string::npos;
         at = block.find("<w:bookmarkStart", at + 1)) {
        const size_t end = block.find('>', at);
        const std::string tag = block.substr(at, end - at);
        if (tag.find("w:name=\"" + XmlEscape(name) + "\"") != std::string::npos) return true;
    }
    return false;
}

// The block index right after the bookmark's block, or -1.
int BookmarkPos(const TDoc& d, const std::string& name)
{
    for (size_t i = 0; i < d.Blocks.size(); ++i)
        if (const auto* s = std::get_if<std::string>(&d.Blocks[i]); s && HasBookmark(*s, name))
            return static_cast<int>(i + 1);
    return -1;
}

std::shared_ptr<TDoc> OpenDoc(const std::string& fileName)
{
    auto d = std::make_shared<TDoc>();
    d->Package.LoadFromFile(fileName);
    const std::string xml = d->Package.Get("word/document.xml");
    const size_t body = xml.find("<w:body");
    const size_t bodyEnd = xml.rfind("</w:body>");
    if (body == std::string::npos || bodyEnd == std::string::npos) throw rtl::Exception("Incorrect DOC file");
    const size_t contentAt = xml.find('>', body) + 1;
    d->Head = xml.substr(0, contentAt);
    d->Tail = xml.substr(bodyEnd);
    for (std::string& e : SplitElements(xml.substr(contentAt, bodyEnd - contentAt))) {
        if (e.rfind("<w:sectPr", 0) == 0) d->SectPr = e;
        else d->Blocks.emplace_back(std::move(e));
    }
    d->Opened = true;
    return d;
}

void SaveDoc(TDoc& d, const std::string& fileName)
{
    std::string body;
    for (const TBlock& b : d.Blocks) body += std::holds_alternative<std::string>(b) ? std::get<std::string>(b)
                                                                                      : TableXml(*std::get<1>(b));
    // A document's body ends with a paragraph.
    if (d.Blocks.empty() || !std::holds_alternative<std::string>(d.Blocks.back())) body += "<w:p/>";
    const std::string head = "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\r\n";
    if (!d.Opened) {
        d.Head = head + "<w:document xmlns:w=\"" + std::string(kWordNs) +
                 "\" xmlns:r=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships\"><w:body>";
        d.Tail = "</w:body></w:document>";
        d.SectPr = "<w:sectPr><w:pgSz w:w=\"11906\" w:h=\"16838\"/><w:pgMar w:top=\"1134\" w:right=\"1134\" "
                   "w:bottom=\"1134\" w:left=\"1134\" w:header=\"709\" w:footer=\"709\" w:gutter=\"0\"/></w:sectPr>";
        d.Package.Set("[Content_Types].xml",
                      head + "<Types xmlns=\"http://schemas.openxmlformats.org/package/2006/content-types\">"
                             "<Default Extension=\"rels\" ContentType=\"application/vnd.openxmlformats-package.relationships+xml\"/>"
                             "<Default Extension=\"xml\" ContentType=\"application/xml\"/>"
                             "<Override PartName=\"/word/document.xml\" ContentType=\"application/vnd.openxmlformats-officedocument.wordprocessingml.document.main+xml\"/>"
                             "</Types>");
        d.Package.Set("_rels/.rels",
                      head + "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">"
                             "<Relationship Id=\"rId1\" Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/officeDocument\" Target=\"word/document.xml\"/>"
                             "</Relationships>");
        d.Opened = true;
    }
    d.Package.Set("word/document.xml", d.Head + body + d.SectPr + d.Tail);
    d.Package.SaveToFile(fileName);
}

class TWordRange : public TMemberDispatch {
public:
    explicit TWordRange(size_t pos) : Pos(pos)
    {
        Member("START", [this](const TArgs&) { return Variant(static_cast<int32_t>(Pos)); });
    }
    size_t Pos;
};

size_t PosOf(const Variant& range)
{
    auto r = std::dynamic_pointer_cast<TWordRange>(range.AsDispatch());
    if (!r) throw rtl::Exception("A range was expected");
    return r->Pos;
}

class TCellRange : public TMemberDispatch {
public:
    TCellRange(std::shared_ptr<TTable> t, int r, int c) : FT(std::move(t)), FR(r), FC(c)
    {
        Member("INSERTAFTER", [this](const TArgs& a) {
            FT->Text(FR, FC) += Arg(a, 0).AsString();
            return Variant();
        });
        Member("PARAGRAPHFORMAT", [this](const TArgs&) { return Variant(std::shared_ptr<rtl::IDispatchObject>(Self())); });
        Member("TEXT", [this](const TArgs&) { return Variant(FT->Text(FR, FC)); });
        Setter("ALIGNMENT", [this](const TArgs&, const Variant& v) { FT->Alignment(FR, FC) = v.AsInteger(); });
        Member("ALIGNMENT", [this](const TArgs&) { return Variant(static_cast<int32_t>(FT->Alignment(FR, FC))); });
    }

private:
    // The paragraph format shares this object: only Alignment is asked of it.
    std::shared_ptr<TCellRange> Self() { return std::make_shared<TCellRange>(FT, FR, FC); }
    std::shared_ptr<TTable> FT;
    int FR, FC;
};

class TWordTable : public TMemberDispatch {
public:
    explicit TWordTable(std::shared_ptr<TTable> t) : FT(std::move(t))
    {
        Member("CELL", [this](const TArgs& a) {
            const int r = Arg(a, 0).AsInteger(), c = Arg(a, 1).AsInteger();
            if (r < 1 || r > FT->Rows || c < 1 || c > FT->Cols) throw rtl::Exception("The requested member of the collection does not exist");
            return MakeDispatch<TCellHolder>(FT, r, c);
        });
    }

private:
    class TCellHolder : public TMemberDispatch {
    public:
        TCellHolder(std::shared_ptr<TTable> t, int r, int c)
        {
            Member("RANGE", [t, r, c](const TArgs&) { return MakeDispatch<TCellRange>(t, r, c); });
        }
    };
    std::shared_ptr<TTable> FT;
};

class TWordDocument : public TMemberDispatch {
public:
    TWordDocument(std::shared_ptr<TWordState> st, std::shared_ptr<TDoc> d) : FSt(std::move(st)), FD(std::move(d))
    {
        Setter("SHOWSPELLINGERRORS", [](const TArgs&, const Variant&) {});
        Member("BOOKMARKS", [this](const TArgs&) {
            auto b = std::make_shared<TBookmarks>(FD);
            return Variant(std::shared_ptr<rtl::IDispatchObject>(b));
        });
        Member("GOTO", [this](const TArgs& a) {
            const int what = Arg(a, 0).AsInteger();
            if (what == -1) {
                const int pos = BookmarkPos(*FD, Arg(a, 1).AsString());
                if (pos < 0) throw rtl::Exception("The requested member of the collection does not exist");
                return MakeDispatch<TWordRange>(static_cast<size_t>(pos));
            }
            return MakeDispatch<TWordRange>(FD->Blocks.size());
        });
        Member("PARAGRAPHS", [this](const TArgs&) {
            auto p = std::make_shared<TParagraphs>(FD);
            return Variant(std::shared_ptr<rtl::IDispatchObject>(p));
        });
        Member("RANGE", [this](const TArgs& a) {
            const size_t start = a.empty() ? 0 : static_cast<size_t>(std::max(0, a[0].AsInteger()));
            return MakeDispatch<TWordRange>(std::min(start, FD->Blocks.size()));
        });
        Member("TABLES", [this](const TArgs&) {
            auto t = std::make_shared<TTables>(FD);
            return Variant(std::shared_ptr<rtl::IDispatchObject>(t));
        });
        Member("SAVEAS", [this](const TArgs& a) {
            SaveDoc(*FD, Arg(a, 0).AsString());
            return Variant();
        });
    }

private:
    class TBookmarks : public TMemberDispatch {
    public:
        explicit TBookmarks(std::shared_ptr<TDoc> d)
        {
            Member("EXISTS", [d](const TArgs& a) { return Variant(BookmarkPos(*d, Arg(a, 0).AsString()) >= 0); });
        }
    };
    class TParagraphs : public TMemberDispatch {
    public:
        explicit TParagraphs(std::shared_ptr<TDoc> d)
        {
            Member("ADD", [d](const TArgs&) {
                d->Blocks.emplace_back(std::string("<w:p/>"));
                return MakeDispatch<TWordRange>(d->Blocks.size() - 1);
            });
            Member("COUNT", [d](const TArgs&) { return Variant(static_cast<int32_t>(d->Blocks.size())); });
        }
    };
    class TTables : public TMemberDispatch {
    public:
        explicit TTables(std::shared_ptr<TDoc> d)
        {
            Member("ADD", [d](const TArgs& a) {
                auto t = std::make_shared<TTable>();
                t->Rows = std::max(1, Arg(a, 1).AsInteger());
                t->Cols = std::max(1, Arg(a, 2).AsInteger());
                t->Texts.assign(static_cast<size_t>(t->Rows * t->Cols), {});
                t->Align.assign(static_cast<size_t>(t->Rows * t->Cols), 0);
                const size_t pos = std::min(PosOf(Arg(a, 0)), d->Blocks.size());
                d->Blocks.insert(d->Blocks.begin() + static_cast<std::ptrdiff_t>(pos), TBlock(t));
                return MakeDispatch<TWordTable>(t);
            });
            Member("COUNT", [d](const TArgs&) {
                return Variant(static_cast<int32_t>(std::count_if(d->Blocks.begin(), d->Blocks.end(), [](const TBlock& b) {
                    return !std::holds_alternative<std::string>(b) || std::get<std::string>(b).rfind("<w:tbl", 0) == 0;
                })));
            });
        }
    };
    std::shared_ptr<TWordState> FSt;
    std::shared_ptr<TDoc> FD;
};

class TSelection : public TMemberDispatch {
public:
    explicit TSelection(std::shared_ptr<TWordState> st) : FSt(std::move(st))
    {
        Member("TYPETEXT", [this](const TArgs& a) {
            FSt->Typed += Arg(a, 0).AsString();
            return Variant();
        });
        Member("TYPEPARAGRAPH", [this](const TArgs&) {
            auto& b = Doc()->Blocks;
            const size_t at = std::min(FSt->SelPos, b.size());
            b.insert(b.begin() + static_cast<std::ptrdiff_t>(at), TBlock(Paragraph(FSt->Typed)));
            FSt->Typed.clear();
            FSt->SelPos = at + 1;
            return Variant();
        });
        Member("GOTO", [this](const TArgs& a) {
            const int what = Arg(a, 0).AsInteger();
            if (what == -1) {
                const int pos = BookmarkPos(*Doc(), Arg(a, 1).AsString());
                if (pos >= 0) FSt->SelPos = static_cast<size_t>(pos);
            } else {
                FSt->SelPos = Doc()->Blocks.size();
            }
            return MakeDispatch<TWordRange>(FSt->SelPos);
        });
        Member("END", [this](const TArgs&) { return Variant(static_cast<int32_t>(FSt->SelPos)); });
    }

private:
    std::shared_ptr<TDoc> Doc()
    {
        if (!FSt->Active) throw rtl::Exception("No document is open");
        return FSt->Active;
    }
    std::shared_ptr<TWordState> FSt;
};

class TDocuments : public TMemberDispatch {
public:
    explicit TDocuments(std::shared_ptr<TWordState> st) : FSt(std::move(st))
    {
        Member("COUNT", [this](const TArgs&) { return Variant(static_cast<int32_t>(FSt->Docs.size())); });
        Member("ADD", [this](const TArgs&) { return Add(std::make_shared<TDoc>()); });
        Member("OPEN", [this](const TArgs& a) { return Add(OpenDoc(Arg(a, 0).AsString())); });
    }

private:
    Variant Add(std::shared_ptr<TDoc> d)
    {
        FSt->Docs.push_back(d);
        FSt->Active = d;
        FSt->SelPos = 0;
        FSt->Typed.clear();
        return MakeDispatch<TWordDocument>(FSt, d);
    }
    std::shared_ptr<TWordState> FSt;
};

class TWordApp : public TMemberDispatch {
public:
    TWordApp()
    {
        Member("DOCUMENTS", [this](const TArgs&) { return MakeDispatch<TDocuments>(FSt); });
        Member("ACTIVEDOCUMENT", [this](const TArgs&) {
            if (!FSt->Active) throw rtl::Exception("No document is open");
            return MakeDispatch<TWordDocument>(FSt, FSt->Active);
        });
        Member("SELECTION", [this](const TArgs&) { return MakeDispatch<TSelection>(FSt); });
        Member("QUIT", [this](const TArgs&) {
            FSt->Docs.clear();
            FSt->Active = nullptr;
            return Variant();
        });
    }

private:
    std::shared_ptr<TWordState> FSt = std::make_shared<TWordState>();
};

} // namespace

void RegisterWordServer()
{
    rtl::RegisterOleClass("word.application", [] { return std::make_shared<TWordApp>(); });
}

} // namespace gridio
