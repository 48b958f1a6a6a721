// First pass: the grammar interpreter that emits the intermediate code.
#include "script/qs_iilparser.h"

#include <cstdint>
#include <map>
#include <mutex>

#include "platform/rtl/Files.h"
#include "platform/rtl/Format.h"
#include "platform/rtl/Strings.h"
#include "script/qs_iconst.h"
#include "script/qs_ibasic.h"
#include "script/qs_icpp.h"
#include "script/qs_ijs.h"
#include "script/qs_ipascal.h"
#include "script/qs_itools.h"

namespace qs {

// Grammar rules may nest this deep while a script is parsed, on at most this
// much of the native stack (builds with larger frames reach it first);
// deeper input (thousands of nested brackets) is refused with a compile
// error instead of exhausting the stack.
constexpr int kMaxGrammarDepth = 3000;
constexpr std::uintptr_t kMaxGrammarStack = 4u << 20;
const char* const kNestingTooDeep = "Nesting too deep";

struct TqsGrammarElem {
    enum Kind {
        kRuleDef, kChar, kKeyword, kIdent, kNumber, kString, kFRString, kEol, kSequence, kSwitch,
        kOptionalSwitch, kOptional, kLoop, kOptionalLoop, kRef
    };
    Kind kind = kSequence;
    std::string name;       // rule name (definitions and references)
    bool hasText = false;
    std::string text;       // expected token / loop separator
    std::string textLower;  // expected token in lower case (case-sensitive grammars)
    std::string add, addtext, node;
    bool hasAdd = false, hasAddText = false;
    bool hasErr = false;
    std::string errText;
    bool skip0 = false;     // char: no blanks before
    bool skip1 = false;     // loop: a failed last iteration leaves no error
    bool term = false;
    std::vector<const TqsGrammarElem*> children;
    const TqsGrammarElem* rule = nullptr;  // references: the definition
};

struct TqsGrammar {
    TqsXMLDocument doc;
    std::vector<std::unique_ptr<TqsGrammarElem>> elems;
    const TqsGrammarElem* program = nullptr;
    std::string statementExpected;  // the grammar's err3 text
    TqsXMLItem* parser = nullptr;
    TqsXMLItem* types = nullptr;
};

namespace {

struct TGrammarCache {
    unsigned version = ~0u;
    std::map<std::string, std::shared_ptr<TqsGrammar>> byName;
};

TGrammarCache& Cache()
{
    static TGrammarCache cache;
    return cache;
}

TqsGrammarElem::Kind KindOf(const std::string& lower)
{
    static const std::map<std::string, TqsGrammarElem::Kind> kinds = {
        {"char", TqsGrammarElem::kChar},         {"keyword", TqsGrammarElem::kKeyword},
        {"ident", TqsGrammarElem::kIdent},       {"number", TqsGrammarElem::kNumber},
        {"string", TqsGrammarElem::kString},     {"frstring", TqsGrammarElem::kFRString},
        {"eol", TqsGrammarElem::kEol},           {"sequence", TqsGrammarElem::kSequence},
        {"switch", TqsGrammarElem::kSwitch},     {"optionalswitch", TqsGrammarElem::kOptionalSwitch},
        {"optional", TqsGrammarElem::kOptional}, {"loop", TqsGrammarElem::kLoop},
        {"optionalloop", TqsGrammarElem::kOptionalLoop},
    };
    auto it = kinds.find(lower);
    return it == kinds.end() ? TqsGrammarElem::kRef : it->second;
}

// Builds the element tree of a grammar document once, so that parsing does
// not read attribute texts again and again.
std::shared_ptr<TqsGrammar> BuildGrammar(const std::string& text)
{
    auto g = std::make_shared<TqsGrammar>();
    g->doc.LoadFromString(text);
    TqsXMLItem* root = g->doc.Root();
    g->parser = root->FindItem("parser");
    g->types = root->Find("types") >= 0 ? root->Items(root->Find("types")) : nullptr;
    TqsXMLItem* errors = g->parser->Find("errors") >= 0 ? g->parser->Items(g->parser->Find("errors")) : nullptr;

    std::map<std::string, TqsGrammarElem*> rules;
    std::vector<std::pair<TqsGrammarElem*, std::string>> refs;

    std::function<TqsGrammarElem*(TqsXMLItem*, bool)> build = [&](TqsXMLItem* x, bool def) {
        auto e = std::make_unique<TqsGrammarElem>();
        TqsGrammarElem* p = e.get();
        g->elems.push_back(std::move(e));
        std::string lower = rtl::AnsiLowerCase(x->Name());
        p->name = lower;
        p->kind = def ? TqsGrammarElem::kRuleDef : KindOf(lower);
        p->hasText = x->PropExists("text");
        p->text = x->Prop("text");
        p->textLower = rtl::AnsiLowerCase(p->text);
        p->hasAdd = x->PropExists("add");
        p->add = x->Prop("add");
        p->hasAddText = x->PropExists("addtext");
        p->addtext = x->Prop("addtext");
        p->node = rtl::AnsiLowerCase(x->Prop("node"));
        if (x->PropExists("err")) {
            p->hasErr = true;
            if (errors) {
                int i = errors->Find(x->Prop("err"));
                if (i >= 0) p->errText = errors->Items(i)->Prop("text");
            }
        }
        std::string skip = x->Prop("skip");
        p->skip0 = skip == "0";
        p->skip1 = skip == "1";
        p->term = x->Prop("term") == "1";
        for (TqsXMLItem* c : x->Children()) p->children.push_back(build(c, false));
        if (p->kind == TqsGrammarElem::kRef) refs.emplace_back(p, lower);
        return p;
    };
    for (TqsXMLItem* x : root->Children()) {
        std::string lower = rtl::AnsiLowerCase(x->Name());
        if (lower == "parser" || lower == "types") continue;
        TqsGrammarElem* def = build(x, true);
        if (!rules.count(lower)) rules[lower] = def;
    }
    for (auto& [e, name] : refs) {
        auto it = rules.find(name);
        e->rule = it == rules.end() ? nullptr : it->second;
    }
    auto it = rules.find("program");
    g->program = it == rules.end() ? nullptr : it->second;
    g->statementExpected = "Statement expected";
    if (errors && errors->Find("err3") >= 0) g->statementExpected = errors->Items(errors->Find("err3"))->Prop("text");
    return g;
}

std::once_flag gGrammarsOnce;

} // namespace

TqsXMLItem* GrammarTypes(const std::shared_ptr<TqsGrammar>& g) { return g ? g->types : nullptr; }

void RegisterBuiltinGrammars()
{
    std::call_once(gGrammarsOnce, [] {
        RegisterJScriptGrammar();
        RegisterBasicScriptGrammar();
        RegisterCppScriptGrammar();
        RegisterPascalScriptGrammar();
    });
}

TqsILParser::TqsILParser(TqsScript* AProgram) : FProgram(AProgram)
{
    FUsesList.SetSorted(false);
}

TqsILParser::~TqsILParser() = default;

void TqsILParser::SelectLanguage(const std::string& LangName)
{
    RegisterBuiltinGrammars();
    FParser.Clear();
    FLangName = LangName;
    const std::string& text = GetLanguageGrammar(LangName);
    TGrammarCache& cache = Cache();
    if (cache.version != LanguageRegistryVersion()) {
        cache.byName.clear();
        cache.version = LanguageRegistryVersion();
    }
    std::string key = rtl::AnsiUpperCase(LangName);
    auto it = cache.byName.find(key);
    if (it == cache.byName.end()) it = cache.byName.emplace(key, BuildGrammar(text)).first;
    FGrammar = it->second;

    TqsXMLItem* parser = FGrammar->parser;
    int k = parser->Find("keywords");
    if (k >= 0)
        for (TqsXMLItem* w : parser->Items(k)->Children()) FParser.AddKeyword(w->Name());
    for (TqsXMLItem* s : parser->Children()) {
        std::string n = rtl::AnsiLowerCase(s->Name());
        std::string v = s->Prop("text");
        if (n == "identchars") FParser.ConstructCharset(v);
        else if (n == "commentline1") FParser.SetCommentLine1(v);
        else if (n == "commentline2") FParser.SetCommentLine2(v);
        else if (n == "stringquotes") FParser.SetStringQuotes(v);
        else if (n == "hexsequence") FParser.SetHexSequence(v);
        else if (n == "skipchar") FParser.SetSkipChar(v);
        else if (n == "commentblock1") FParser.SetCommentBlock1(v);
        else if (n == "commentblock2") FParser.SetCommentBlock2(v);
        else if (n == "specstrchar") { if (v == "1") FParser.SetSpecStrChar(true); }
        else if (n == "casesensitive") { if (v == "1") FParser.SetCaseSensitive(true); }
        else if (n == "skipeol") { if (v == "0") FParser.SetSkipEOL(false); }
        else if (n == "declarevars") { if (v == "0") FNeedDeclareVars = false; }
    }
    if (FProgram && FProgram->ExtendedCharset())
        for (int c = 128; c < 256; ++c) FParser.IdentifierCharset().set(static_cast<size_t>(c));
}

std::string TqsILParser::PosAfterSkip(int position)
{
    int savePos = FParser.Position(), saveLast = FParser.LastPosition();
    FParser.SetPosition(position);
    FParser.SkipSpaces();
    std::string r = FParser.GetXYPosition();
    (void)saveLast;  // the interpreter never reads the last-token position between tokens
    FParser.SetPosition(savePos);
    return r;
}

void TqsILParser::RecordError(const TqsGrammarElem* E, int start)
{
    if (!E->hasErr || !FErrMsg.empty()) return;
    FErrMsg = E->errText;
    FErrPosText = PosAfterSkip(start);
    FErrTerm = E->term;
}

void TqsILParser::EmitItem(const std::string& name, const std::string& text, const std::string& pos)
{
    FLines.push_back("<" + name + " text=\"" + EscapeAttribute(text) + "\" pos=\"" + pos + "\"/>");
}

void TqsILParser::EmitNode(const std::string& node, int start, size_t mark)
{
    if (node == "uses") {
        EmitUses(mark);
        return;
    }
    std::string open = "<" + node + " pos=\"" + PosAfterSkip(start) + "\"";
    if (node == "expr") open += " pos1=\"" + FParser.GetXYPosition() + "\"";
    open += ">";
    if (mark > FLines.size()) mark = FLines.size();
    FLines.insert(FLines.begin() + static_cast<long>(mark), open);
    FLines.push_back("</" + node + ">");
}

void TqsILParser::EmitUses(size_t mark)
{
    if (mark > FLines.size()) mark = FLines.size();
    std::vector<std::string> items(FLines.begin() + static_cast<long>(mark), FLines.end());
    FLines.resize(mark);
    for (size_t k = items.size(); k-- > 0;) {
        TqsXMLDocument tmp;
        std::string text;
        try {
            tmp.LoadFromString("<?xml version=\"1.0\"?>" + items[k]);
            text = tmp.Root()->Prop("text");
        } catch (const rtl::Exception&) {
            continue;
        }
        std::string unitName = text.size() >= 2 ? text.substr(1, text.size() - 2) : std::string();
        if (FUsesList.IndexOf(unitName) >= 0) continue;
        FUsesList.Add(unitName);
        std::string unitText;
        if (FProgram && FProgram->OnGetUnit) {
            FProgram->OnGetUnit(FProgram, unitName, unitText);
        } else {
            std::string path;
            rtl::TStringList* inc = FProgram ? &FProgram->IncludePath() : nullptr;
            int n = inc ? inc->Count() : 0;
            if (n == 0) path = unitName;
            for (int i = 0; i < n; ++i) {
                std::string dir = inc->Strings(i);
                if (!dir.empty() && dir.back() != '/' && dir.back() != '\\') dir += '/';
                path = dir + unitName;
                if (rtl::FileExists(path)) break;
            }
            rtl::TFileStream f(path, rtl::fmOpenRead | rtl::fmShareDenyWrite);
            unitText = f.ReadAll();
        }
        std::vector<std::string> unitLines;
        TqsILParser sub(FProgram);
        sub.FUnitName = unitName;
        sub.SelectLanguage(FLangName);
        sub.FUsesList.Assign(&FUsesList);
        if (!unitText.empty()) {
            if (sub.MakeILScript(unitText)) {
                FUsesList.Assign(&sub.FUsesList);
                rtl::TStringStream s;
                TqsXMLWriter w(s);
                w.WriteRootItem(sub.FILScript.Root());
                w.Flush();
                unitLines.push_back(s.DataString());
            } else if (FProgram) {
                // The sub-parse stored its error in the program already.
                if (FErrMsg.empty()) {
                    FErrMsg = FProgram->ErrorMsg();
                    FErrPosText = FProgram->ErrorPos();
                }
                if (FProgram->ErrorUnit().empty()) FProgram->SetErrorUnit(unitName);
            }
        }
        std::vector<std::string> block;
        block.push_back("<uses unit=\"" + EscapeAttribute(unitName) + "\">");
        for (auto& l : unitLines) block.push_back(l);
        block.push_back("</uses>");
        FLines.insert(FLines.begin() + static_cast<long>(mark), block.begin(), block.end());
        mark += block.size();
    }
}

bool TqsILParser::Run(const TqsGrammarElem* E)
{
    const auto frame = reinterpret_cast<std::uintptr_t>(__builtin_frame_address(0));
    if (FDepth == 0) FStackTop = frame;
    const std::uintptr_t used = FStackTop > frame ? FStackTop - frame : frame - FStackTop;
    if (FDepth >= kMaxGrammarDepth || used > kMaxGrammarStack) throw rtl::Exception(kNestingTooDeep);
    ++FDepth;
    struct DepthGuard {
        int& d;
        ~DepthGuard() { --d; }
    } guard{FDepth};

    const int start = FParser.Position();
    const size_t mark = FLines.size();
    bool matched = false;
    std::string token;
    bool isToken = false;
    using K = TqsGrammarElem;

    switch (E->kind) {
    case K::kRuleDef: matched = true; break;
    case K::kChar:
        if (!E->skip0) FParser.SkipSpaces();
        token = FParser.GetChar();
        isToken = true;
        break;
    case K::kKeyword: token = FParser.GetWord(); isToken = true; break;
    case K::kIdent: token = FParser.GetIdent(); isToken = true; break;
    case K::kNumber: token = FParser.GetNumber(); isToken = true; break;
    case K::kString: token = FParser.GetString(); isToken = true; break;
    case K::kFRString: {
        token = FParser.GetFRString();
        std::string pos = FParser.GetXYPosition();
        FLines.push_back("<dsgn pos=\"" + pos + "\">");
        FLines.push_back("<node text=\"Get\" pos=\"" + pos + "\"/>");
        FLines.push_back("<expr pos=\"" + pos + "\" pos1=\"" + pos + "\">");
        FLines.push_back("<string text=\"" + EscapeAttribute("'" + token + "'") + "\" pos=\"" + pos + "\"/>");
        FLines.push_back("</expr>");
        FLines.push_back("</dsgn>");
        isToken = true;
        break;
    }
    case K::kEol: matched = FParser.GetEOL(); break;
    case K::kSequence: matched = true; break;
    case K::kSwitch:
    case K::kOptionalSwitch:
        for (const K* c : E->children)
            if (Run(c)) return true;
        if (E->kind == K::kOptionalSwitch) return true;
        RecordError(E, start);
        return false;
    case K::kLoop:
    case K::kOptionalLoop: {
        bool ok = RunLoop(E);
        if (E->kind == K::kOptionalLoop) {
            if (!ok) FParser.SetPosition(start);
            return true;
        }
        if (!ok) FParser.SetPosition(start);
        return ok;
    }
    case K::kOptional:
        for (const K* c : E->children)
            if (!Run(c)) {
                FParser.SetPosition(start);
                break;
            }
        return true;
    case K::kRef:
        if (!E->rule) throw rtl::Exception(SInvalidLanguage);
        matched = Run(E->rule);
        break;
    }

    if (isToken) {
        if (token.empty()) matched = false;
        else if (!E->hasText) matched = true;
        else if (FParser.CaseSensitive()) matched = token == E->textLower;
        else matched = rtl::AnsiSameText(token, E->text);
    }

    if (isToken && matched && FParser.Position() > FFurthest) FFurthest = FParser.Position();
    bool ok = matched;
    if (!matched) {
        RecordError(E, start);
    } else {
        if (E->kind != K::kRuleDef && !E->node.empty()) EmitNode(E->node, start, mark);
        if (E->hasAdd) {
            std::string v = E->hasAddText ? E->addtext : token;
            EmitItem(E->add, v, FParser.GetXYPosition());
        }
        for (const K* c : E->children)
            if (!Run(c)) {
                ok = false;
                break;
            }
    }
    if (!ok) FParser.SetPosition(start);
    if (E->kind == K::kRuleDef) {
        if (ok) {
            if (!E->node.empty()) EmitNode(E->node, start, mark);
        } else if (E->node == "uses") {
            EmitUses(mark);
        } else {
            if (FLines.size() > mark) FLines.resize(mark);
        }
    }
    return ok;
}

bool TqsILParser::RunLoop(const TqsGrammarElem* E)
{
    int iterations = 0;
    int P = FParser.Position();
    bool lastOk = false;
    const char sep = E->hasText && !E->text.empty() ? E->text[0] : 0;
    for (;;) {
        ++iterations;
        int iterStart = FParser.Position();
        bool all = true;
        for (const TqsGrammarElem* c : E->children)
            if (!Run(c)) {
                all = false;
                break;
            }
        P = FParser.Position();
        lastOk = all;
        if (!all) break;
        if (E->hasText) {
            FParser.SkipSpaces();
            std::string ch = FParser.GetChar();
            if (ch.empty() || ch[0] != sep) {
                FParser.SetPosition(P);
                break;
            }
        }
        if (FParser.Position() == iterStart) break;
    }
    if (iterations > 1) {
        FParser.SetPosition(P);
        if (E->skip1 || FErrTerm) {
            FErrMsg.clear();
            FErrPosText.clear();
            FErrTerm = false;
        }
        return true;
    }
    return lastOk;
}

bool TqsILParser::MakeILScript(const std::string& Text)
{
    FLines.clear();
    FErrMsg.clear();
    FErrPosText.clear();
    FErrTerm = false;
    FDepth = 0;
    FFurthest = 1;
    FParser.SetText(Text);
    // Language directive: "#language <name>" on the first line.
    if (!Text.empty() && Text[0] == '#') {
        FParser.SetPosition(2);
        std::string word = FParser.GetIdent();
        if (rtl::AnsiSameText(word, "language")) {
            size_t eol = Text.find_first_of("\r\n");
            std::string name = rtl::Trim(Text.substr(static_cast<size_t>(FParser.Position() - 1),
                                                     eol == std::string::npos ? std::string::npos
                                                                              : eol - static_cast<size_t>(FParser.Position() - 1)));
            SelectLanguage(name);
            FParser.SetText(Text);
            size_t next = Text.find('\n');
            FParser.SetPosition(next == std::string::npos ? static_cast<int>(Text.size()) + 1
                                                          : static_cast<int>(next) + 2);
        } else {
            FParser.SetPosition(1);
        }
    }
    bool ok = false;
    try {
        ok = FGrammar && FGrammar->program ? Run(FGrammar->program) : false;
        if (!ok && FErrMsg.empty()) {
            // A failed parse without a recorded error: report it where the
            // parser got furthest instead of counting it as a success.
            FErrMsg = FGrammar ? FGrammar->statementExpected : std::string("Statement expected");
            FErrPosText = PosAfterSkip(FFurthest);
        }
        if (ok && FErrMsg.empty()) {
            // Text the start rule left unread is a statement that could not
            // be read, not something to ignore silently.
            FParser.SkipSpaces();
            if (FParser.Position() <= FParser.Size()) {
                FErrMsg = FGrammar->statementExpected;
                FErrPosText = FParser.GetXYPosition();
            }
        }
    } catch (const rtl::Exception& e) {
        if (e.Message() != kNestingTooDeep) throw;
        FErrMsg = kNestingTooDeep;
        FErrPosText = FParser.GetXYPosition();
        ok = false;
    }
    bool result = false;
    if (ok && FErrMsg.empty()) {
        std::string il = "<?xml version=\"1.0\"?>\n<program>\n";
        for (const std::string& l : FLines) {
            il += l;
            il += '\n';
        }
        il += "</program>\n";
        FILScript.LoadFromString(il);
        if (FGrammar->types) FILScript.Root()->Add()->Assign(FGrammar->types);
        result = true;
    }
    if (FProgram) {
        FProgram->SetErrorMsg(FErrMsg);
        FProgram->SetErrorPos(FErrPosText);
    }
    FLines.clear();
    return result;
}

} // namespace qs
