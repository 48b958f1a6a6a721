// Event adapters: let a script procedure serve a control's or form's
// event.  Each adapter binds itself into the instance's published event
// property; when the event fires it calls the procedure with the event's
// arguments and copies the var arguments back into the native ones.
//
// The rule a caller must know: only the parameters the procedure declares
// are passed and written back; a procedure with fewer parameters than the
// event has leaves the remaining native arguments as they were.
//
//     cls->AddEvent("OnKeyDown", &qs::qsEventFactory<qs::TqsKeyEvent>);
//     // script: Edit1.OnKeyDown := 'EditKeyDown';
#pragma once

#include "script/qs_iinterpreter.h"

namespace qs {

// (Sender, Button, Shift, X, Y); nothing written back.
class TqsMouseEvent : public TqsCustomEvent {
public:
    using TqsCustomEvent::TqsCustomEvent;
    void Attach(const rtl::TPropInfo* Prop) override;
};

// (Sender, Shift, X, Y); nothing written back.
class TqsMouseMoveEvent : public TqsCustomEvent {
public:
    using TqsCustomEvent::TqsCustomEvent;
    void Attach(const rtl::TPropInfo* Prop) override;
};

// (Sender, var Key, Shift); Key written back as an integer.
class TqsKeyEvent : public TqsCustomEvent {
public:
    using TqsCustomEvent::TqsCustomEvent;
    void Attach(const rtl::TPropInfo* Prop) override;
};

// (Sender, var Key) with Key a one-character string; the first character
// of the string handed back becomes the key (an empty string leaves it).
class TqsKeyPressEvent : public TqsCustomEvent {
public:
    using TqsCustomEvent::TqsCustomEvent;
    void Attach(const rtl::TPropInfo* Prop) override;
};

// (Sender, var Action); Action written back as its ordinal.
class TqsCloseEvent : public TqsCustomEvent {
public:
    using TqsCustomEvent::TqsCustomEvent;
    void Attach(const rtl::TPropInfo* Prop) override;
};

// (Sender, var CanClose); CanClose written back as a Boolean.
class TqsCloseQueryEvent : public TqsCustomEvent {
public:
    using TqsCustomEvent::TqsCustomEvent;
    void Attach(const rtl::TPropInfo* Prop) override;
};

// (Sender, var NewWidth, var NewHeight, var Resize); all three written back.
class TqsCanResizeEvent : public TqsCustomEvent {
public:
    using TqsCustomEvent::TqsCustomEvent;
    void Attach(const rtl::TPropInfo* Prop) override;
};

} // namespace qs
