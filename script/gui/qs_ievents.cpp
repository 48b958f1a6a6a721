#include "script/gui/qs_ievents.h"

#include "platform/gui/Controls.h"
#include "platform/gui/Forms.h"
#include "platform/rtl/Strings.h"

namespace qs {

namespace {

// Binds fn into the event slot of type F; fn gets the live adapter.
template <typename F, typename Adapter, typename Fn>
void Bind(Adapter* self, const rtl::TPropInfo* prop, const std::shared_ptr<TqsCustomEvent*>& aliveToken, Fn fn)
{
    auto* slot = prop->EventSlot<F>(self->Instance());
    if (!slot) return;
    std::weak_ptr<TqsCustomEvent*> alive = aliveToken;
    *slot = [alive, fn](auto&&... args) {
        auto token = alive.lock();
        if (!token || !*token) return;
        fn(static_cast<Adapter*>(*token), args...);
    };
}

Variant Sender(rtl::TObject* s) { return Variant::FromObject(s); }
Variant Mask(const gui::TShiftState& shift) { return Variant(static_cast<int32_t>(shift.ToMask())); }

} // namespace

void TqsMouseEvent::Attach(const rtl::TPropInfo* Prop)
{
    Bind<gui::TMouseEvent>(this, Prop, FAlive,
                           [](TqsMouseEvent* self, rtl::TObject* sender, gui::TMouseButton button,
                              gui::TShiftState shift, int x, int y) {
                               std::vector<Variant> a{Sender(sender), Variant(static_cast<int32_t>(button)), Mask(shift),
                                                      Variant(x), Variant(y)};
                               self->CallHandler(a);
                           });
}

void TqsMouseMoveEvent::Attach(const rtl::TPropInfo* Prop)
{
    Bind<gui::TMouseMoveEvent>(this, Prop, FAlive,
                               [](TqsMouseMoveEvent* self, rtl::TObject* sender, gui::TShiftState shift, int x, int y) {
                                   std::vector<Variant> a{Sender(sender), Mask(shift), Variant(x), Variant(y)};
                                   self->CallHandler(a);
                               });
}

void TqsKeyEvent::Attach(const rtl::TPropInfo* Prop)
{
    Bind<gui::TKeyEvent>(this, Prop, FAlive,
                         [](TqsKeyEvent* self, rtl::TObject* sender, uint16_t& key, gui::TShiftState shift) {
                             std::vector<Variant> a{Sender(sender), Variant(static_cast<int32_t>(key)), Mask(shift)};
                             self->CallHandler(a);
                             key = static_cast<uint16_t>(a[1].AsInteger());
                         });
}

void TqsKeyPressEvent::Attach(const rtl::TPropInfo* Prop)
{
    Bind<gui::TKeyPressEvent>(this, Prop, FAlive, [](TqsKeyPressEvent* self, rtl::TObject* sender, char16_t& key) {
        std::vector<Variant> a{Sender(sender), Variant(std::u16string_view(&key, 1))};
        self->CallHandler(a);
        std::u16string s = rtl::UTF8ToUTF16(rtl::VarToStr(a[1]));
        if (!s.empty()) key = s[0];
    });
}

void TqsCloseEvent::Attach(const rtl::TPropInfo* Prop)
{
    Bind<gui::TCloseEvent>(this, Prop, FAlive, [](TqsCloseEvent* self, rtl::TObject* sender, gui::TCloseAction& action) {
        std::vector<Variant> a{Sender(sender), Variant(static_cast<int32_t>(action))};
        self->CallHandler(a);
        int32_t v = a[1].AsInteger();
        if (v >= 0 && v <= static_cast<int32_t>(gui::TCloseAction::caMinimize)) action = static_cast<gui::TCloseAction>(v);
    });
}

void TqsCloseQueryEvent::Attach(const rtl::TPropInfo* Prop)
{
    Bind<gui::TCloseQueryEvent>(this, Prop, FAlive, [](TqsCloseQueryEvent* self, rtl::TObject* sender, bool& canClose) {
        std::vector<Variant> a{Sender(sender), Variant(canClose)};
        self->CallHandler(a);
        canClose = a[1].AsBoolean();
    });
}

void TqsCanResizeEvent::Attach(const rtl::TPropInfo* Prop)
{
    Bind<gui::TCanResizeEvent>(this, Prop, FAlive,
                               [](TqsCanResizeEvent* self, rtl::TObject* sender, int& w, int& h, bool& resize) {
                                   std::vector<Variant> a{Sender(sender), Variant(w), Variant(h), Variant(resize)};
                                   self->CallHandler(a);
                                   w = a[1].AsInteger();
                                   h = a[2].AsInteger();
                                   resize = a[3].AsBoolean();
                               });
}

} // namespace qs
