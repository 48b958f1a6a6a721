// The theme service on Qt: parts are drawn with the application style's
// primitives (bevel panels, arrows, check and radio indicators, title-bar
// buttons); the states map onto the style's enabled, hover and sunken flags.

#include "platform/gui/Themes.h"

#include <QApplication>
#include <QLinearGradient>
#include <QPainter>
#include <QStyle>
#include <QStyleOption>

#include <map>

#include "platform/gui/Controls.h"
#include "platform/gui/GraphicsQt.h"

namespace gui {

namespace {

enum class ThemeClass { Button = 1, ComboBox, Spin, Window, Header };

struct ServiceState {
    bool installed = true;
    bool active = true;
    std::string scheme = "NormalColor";
    std::map<HTHEME, ThemeClass> open;
    HTHEME nextTheme = 1;
    std::map<HTHEMELIB, bool> libraries;
    HTHEMELIB nextLibrary = 1;
};

// Never destroyed: theme bindings held in other units' statics close their
// libraries while the program exits, in an order no unit controls.
ServiceState& State()
{
    static ServiceState* s = new ServiceState;
    return *s;
}

bool ClassOf(const std::string& name, ThemeClass& out)
{
    std::string n;
    for (char ch : name) n += static_cast<char>(ch >= 'A' && ch <= 'Z' ? ch + 32 : ch);
    if (n == "button") out = ThemeClass::Button;
    else if (n == "combobox") out = ThemeClass::ComboBox;
    else if (n == "spin") out = ThemeClass::Spin;
    else if (n == "window") out = ThemeClass::Window;
    else if (n == "header") out = ThemeClass::Header;
    else return false;
    return true;
}

// State numbers shared by the parts drawn here: 1 normal, 2 hot, 3 pressed,
// 4 disabled (5 default or focused for push buttons).
QStyle::State StyleState(int stateId)
{
    QStyle::State s = QStyle::State_None;
    if (stateId != 4) s |= QStyle::State_Enabled;
    if (stateId == 2) s |= QStyle::State_MouseOver;
    if (stateId == 3) s |= QStyle::State_Sunken | QStyle::State_On;
    else s |= QStyle::State_Raised;
    if (stateId == 5) s |= QStyle::State_HasFocus;
    return s;
}

void Bevel(QStyle* style, QPainter* p, const QRect& r, int stateId)
{
    QStyleOptionButton o;
    o.rect = r;
    o.state = StyleState(stateId);
    o.palette = QApplication::palette();
    style->drawControl(QStyle::CE_PushButtonBevel, &o, p, nullptr);
}

void Arrow(QStyle* style, QPainter* p, const QRect& r, int stateId, QStyle::PrimitiveElement arrow)
{
    QStyleOption o;
    o.rect = r.adjusted(2, 2, -2, -2);
    if (stateId == 3) o.rect.translate(1, 1);
    o.state = StyleState(stateId);
    o.palette = QApplication::palette();
    style->drawPrimitive(arrow, &o, p, nullptr);
}

void DrawPart(ThemeClass cls, QPainter* p, const QRect& r, int partId, int stateId)
{
    QStyle* style = QApplication::style();
    switch (cls) {
    case ThemeClass::Button:
        if (partId == 2 || partId == 3) {
            // Radio button and check box: states 1-4 unchecked, 5-8 checked.
            QStyleOptionButton o;
            o.rect = r;
            const int s = (stateId - 1) % 4 + 1;
            o.state = StyleState(s) & ~QStyle::State_On;
            o.state |= stateId > 4 ? QStyle::State_On : QStyle::State_Off;
            o.palette = QApplication::palette();
            style->drawPrimitive(partId == 2 ? QStyle::PE_IndicatorRadioButton : QStyle::PE_IndicatorCheckBox,
                                 &o, p, nullptr);
        } else {
            Bevel(style, p, r, stateId);
        }
        break;
    case ThemeClass::ComboBox:
        Bevel(style, p, r, stateId);
        Arrow(style, p, r, stateId, QStyle::PE_IndicatorArrowDown);
        break;
    case ThemeClass::Spin: {
        Bevel(style, p, r, stateId);
        const QStyle::PrimitiveElement arrows[] = {QStyle::PE_IndicatorArrowUp, QStyle::PE_IndicatorArrowDown,
                                                   QStyle::PE_IndicatorArrowRight, QStyle::PE_IndicatorArrowLeft};
        Arrow(style, p, r, stateId, arrows[(partId >= 1 && partId <= 4 ? partId : 1) - 1]);
        break;
    }
    case ThemeClass::Window: {
        // 1 caption; 15 minimise, 17 maximise, 18 close, 21 restore; others
        // a plain bevel.
        if (partId == 1) {
            QStyleOptionTitleBar o;
            o.rect = r;
            o.state = StyleState(stateId) | QStyle::State_Active;
            o.palette = QApplication::palette();
            o.titleBarState = Qt::WindowActive;
            o.subControls = QStyle::SC_TitleBarLabel;
            style->drawComplexControl(QStyle::CC_TitleBar, &o, p, nullptr);
            break;
        }
        Bevel(style, p, r, stateId);
        QStyle::StandardPixmap sp = QStyle::SP_TitleBarCloseButton;
        if (partId == 15) sp = QStyle::SP_TitleBarMinButton;
        else if (partId == 17) sp = QStyle::SP_TitleBarMaxButton;
        else if (partId == 21) sp = QStyle::SP_TitleBarNormalButton;
        else if (partId != 18) break;
        const QIcon icon = style->standardIcon(sp);
        const int d = std::max(1, std::min(r.width(), r.height()) - 4);
        icon.paint(p, QRect(r.x() + (r.width() - d) / 2, r.y() + (r.height() - d) / 2, d, d), Qt::AlignCenter,
                   stateId == 4 ? QIcon::Disabled : QIcon::Normal);
        break;
    }
    case ThemeClass::Header: {
        // Drawn here rather than by the style, whose header sections look
        // the same in every state: 0 the root (the area no item covers), 1
        // an item, in a light vertical gradient with its right and bottom
        // edges; hot items turn pale blue, pressed ones deeper blue.
        QColor top(0xFC, 0xFC, 0xFC), bottom(0xEA, 0xEA, 0xEA), edge(0xD5, 0xD5, 0xD5);
        if (partId != 0 && stateId == 2) top = QColor(0xE3, 0xF7, 0xFF), bottom = QColor(0xBD, 0xED, 0xFF);
        if (partId != 0 && stateId == 3) top = QColor(0xBC, 0xE4, 0xF9), bottom = QColor(0x8D, 0xD6, 0xF7);
        QLinearGradient g(r.topLeft(), r.bottomLeft());
        g.setColorAt(0, top);
        g.setColorAt(1, bottom);
        p->fillRect(r, g);
        if (partId != 0) {
            p->setPen(edge);
            p->drawLine(r.right(), r.top(), r.right(), r.bottom());
            p->drawLine(r.left(), r.bottom(), r.right(), r.bottom());
        }
        break;
    }
    }
}

HTHEME OpenImpl(const TWinControl*, const std::string& classList)
{
    ServiceState& s = State();
    if (!s.installed || !s.active) return 0;
    std::size_t start = 0;
    while (start <= classList.size()) {
        std::size_t end = classList.find(';', start);
        if (end == std::string::npos) end = classList.size();
        ThemeClass cls;
        if (ClassOf(classList.substr(start, end - start), cls)) {
            HTHEME h = s.nextTheme++;
            s.open[h] = cls;
            return h;
        }
        start = end + 1;
    }
    return 0;
}

bool DrawImpl(HTHEME theme, TCanvas& canvas, int partId, int stateId, const TRect& r, const TRect* clip)
{
    auto it = State().open.find(theme);
    if (it == State().open.end() || r.Width() <= 0 || r.Height() <= 0) return false;
    if (!CanvasAccess::Begin(canvas)) return false;
    QPainter* p = canvas.Data().painter;
    p->save();
    if (clip) p->setClipRect(QRect(clip->Left, clip->Top, clip->Width(), clip->Height()), Qt::IntersectClip);
    DrawPart(it->second, p, QRect(r.Left, r.Top, r.Width(), r.Height()), partId, stateId);
    p->restore();
    return true;
}

bool CloseImpl(HTHEME theme) { return State().open.erase(theme) > 0; }

bool ActiveImpl() { return State().installed && State().active; }

bool NameImpl(std::string& fileName, std::string& colorName, std::string& sizeName)
{
    if (!ActiveImpl()) return false;
    fileName = "Tolmira.style";
    colorName = State().scheme;
    sizeName = "NormalSize";
    return true;
}

} // namespace

HTHEME OpenThemeData(const TWinControl* window, const std::string& classList) { return OpenImpl(window, classList); }
bool DrawThemeBackground(HTHEME theme, TCanvas& canvas, int partId, int stateId, const TRect& r, const TRect* clip)
{
    return DrawImpl(theme, canvas, partId, stateId, r, clip);
}
bool CloseThemeData(HTHEME theme) { return CloseImpl(theme); }
bool IsThemeActive() { return ActiveImpl(); }
bool GetCurrentThemeName(std::string& fileName, std::string& colorName, std::string& sizeName)
{
    return NameImpl(fileName, colorName, sizeName);
}

HTHEMELIB LoadThemeLibrary()
{
    ServiceState& s = State();
    if (!s.installed) return 0;
    HTHEMELIB h = s.nextLibrary++;
    s.libraries[h] = true;
    return h;
}

void FreeThemeLibrary(HTHEMELIB library) { State().libraries.erase(library); }

ThemeProc FindThemeProc(HTHEMELIB library, const std::string& name)
{
    if (!State().libraries.count(library)) return nullptr;
    if (name == "OpenThemeData") return reinterpret_cast<ThemeProc>(&OpenImpl);
    if (name == "CloseThemeData") return reinterpret_cast<ThemeProc>(&CloseImpl);
    if (name == "DrawThemeBackground") return reinterpret_cast<ThemeProc>(&DrawImpl);
    if (name == "IsThemeActive") return reinterpret_cast<ThemeProc>(&ActiveImpl);
    if (name == "GetCurrentThemeName") return reinterpret_cast<ThemeProc>(&NameImpl);
    return nullptr;
}

int ThemeLibraryRefCount() { return static_cast<int>(State().libraries.size()); }

namespace {
// Windows learn of a change of the active style or its colour scheme.
void NoticeThemeChange(bool changed)
{
    if (changed) SendMessageToAllWindows(WM_THEMECHANGED);
}
} // namespace

void SetThemeServiceInstalled(bool installed) { State().installed = installed; }
void SetThemeActive(bool active)
{
    const bool changed = State().active != active;
    State().active = active;
    NoticeThemeChange(changed);
}
void SetThemeColorScheme(const std::string& name)
{
    const bool changed = State().scheme != name;
    State().scheme = name;
    NoticeThemeChange(changed && State().active);
}
void ResetThemeService()
{
    const bool changed = !State().active || State().scheme != "NormalColor";
    State().installed = true;
    State().active = true;
    State().scheme = "NormalColor";
    NoticeThemeChange(changed);
}

} // namespace gui
