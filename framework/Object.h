// Root of the class layer: runtime-class records and message maps.
#pragma once

#include <windows.h>

class CObject;
class CCmdTarget;

// One record per class that asks for it; a class without its own record reports its base's.
struct CRuntimeClass {
    const char* m_lpszClassName;
    const CRuntimeClass* m_pBaseClass;
    CObject* (*m_pfnCreateObject)();  // null: cannot be created by name

    bool IsDerivedFrom(const CRuntimeClass* pBaseClass) const;
};

#define RUNTIME_CLASS(class_name) (&class_name::class##class_name)

#define DECLARE_DYNAMIC(class_name)                      \
public:                                                  \
    static const CRuntimeClass class##class_name;        \
    const CRuntimeClass* GetRuntimeClass() const override;

#define IMPLEMENT_DYNAMIC(class_name, base_class_name)                                           \
    const CRuntimeClass class_name::class##class_name = {#class_name,                            \
                                                         RUNTIME_CLASS(base_class_name), nullptr}; \
    const CRuntimeClass* class_name::GetRuntimeClass() const { return &class_name::class##class_name; }

class CObject {
public:
    static const CRuntimeClass classCObject;

    virtual ~CObject() = default;
    virtual const CRuntimeClass* GetRuntimeClass() const;
    bool IsKindOf(const CRuntimeClass* pClass) const;

protected:
    CObject() = default;
    CObject(const CObject&) = delete;
    CObject& operator=(const CObject&) = delete;
};

// --- Message maps ----------------------------------------------------------------------
//
// A map is a table of entries, each naming a message (and for WM_COMMAND / WM_NOTIFY the
// notification code and control id) and a small adapter that unpacks the message and calls
// the typed handler. Lookups walk from the most derived map to the root, and the first entry
// found handles the message: a handler cannot decline it. A handler that wants the default
// handling as well calls Default().

// Calls the handler and stores the message's result.
using AFX_PMSG = void (*)(CCmdTarget* pTarget, WPARAM wParam, LPARAM lParam, LRESULT* pResult);

struct AFX_MSGMAP_ENTRY {
    UINT nMessage;
    UINT nCode;  // WM_COMMAND: notification code; WM_NOTIFY: NMHDR code
    UINT nID;    // WM_COMMAND / WM_NOTIFY: control id
    AFX_PMSG pfn;
};

struct AFX_MSGMAP {
    const AFX_MSGMAP* (*pfnGetBaseMap)();
    const AFX_MSGMAP_ENTRY* lpEntries;
};

// Everything that owns a message map: windows and the application object.
class CCmdTarget : public CObject {
public:
    virtual const AFX_MSGMAP* GetMessageMap() const;

    // The first entry for the message (and code and id), searching derived maps first.
    static const AFX_MSGMAP_ENTRY* FindMessageEntry(const AFX_MSGMAP* pMap, UINT nMessage, UINT nCode,
                                                    UINT nID);

protected:
    static const AFX_MSGMAP* GetThisMessageMap();
};

#define DECLARE_MESSAGE_MAP()                       \
protected:                                          \
    static const AFX_MSGMAP* GetThisMessageMap();   \
    const AFX_MSGMAP* GetMessageMap() const override;

// The entries are lambdas defined inside a member function, so handlers may be protected.
#define BEGIN_MESSAGE_MAP(theClass, baseClass)                                           \
    const AFX_MSGMAP* theClass::GetMessageMap() const { return GetThisMessageMap(); }    \
    const AFX_MSGMAP* theClass::GetThisMessageMap() {                                    \
        using ThisClass [[maybe_unused]] = theClass;                                                   \
        using TheBaseClass = baseClass;                                                  \
        static const AFX_MSGMAP_ENTRY _messageEntries[] = {

#define END_MESSAGE_MAP()                                                                      \
    {0, 0, 0, nullptr}};                                                                       \
        static const AFX_MSGMAP messageMap = {&TheBaseClass::GetThisMessageMap, _messageEntries}; \
        return &messageMap;                                                                    \
    }

#define AFX_THIS(p) (static_cast<ThisClass*>(p))

// Generic window message: LRESULT OnXxx(WPARAM, LPARAM)
#define ON_MESSAGE(message, memberFxn)                                          \
    {message, 0, 0, [](CCmdTarget* p, WPARAM w, LPARAM l, LRESULT* r) {         \
         *r = AFX_THIS(p)->memberFxn(w, l);                                     \
     }},

// void OnClose()
#define ON_WM_CLOSE()                                                            \
    {WM_CLOSE, 0, 0, [](CCmdTarget* p, WPARAM, LPARAM, LRESULT* r) {             \
         AFX_THIS(p)->OnClose();                                                 \
         *r = 0;                                                                 \
     }},

// BOOL OnHelpInfo(HELPINFO*)
#define ON_WM_HELPINFO()                                                         \
    {WM_HELP, 0, 0, [](CCmdTarget* p, WPARAM, LPARAM l, LRESULT* r) {            \
         *r = AFX_THIS(p)->OnHelpInfo(reinterpret_cast<HELPINFO*>(l));           \
     }},

// void OnMove(int x, int y)
#define ON_WM_MOVE()                                                                     \
    {WM_MOVE, 0, 0, [](CCmdTarget* p, WPARAM, LPARAM l, LRESULT* r) {                    \
         AFX_THIS(p)->OnMove(static_cast<short>(LOWORD(l)), static_cast<short>(HIWORD(l))); \
         *r = 0;                                                                         \
     }},

// void OnSize(UINT nType, int cx, int cy)
#define ON_WM_SIZE()                                                                     \
    {WM_SIZE, 0, 0, [](CCmdTarget* p, WPARAM w, LPARAM l, LRESULT* r) {                  \
         AFX_THIS(p)->OnSize(static_cast<UINT>(w), static_cast<short>(LOWORD(l)),         \
                             static_cast<short>(HIWORD(l)));                             \
         *r = 0;                                                                         \
     }},

// void OnSetFocus(HWND hOldFocus) / void OnKillFocus(HWND hNewFocus)
#define ON_WM_SETFOCUS()                                                         \
    {WM_SETFOCUS, 0, 0, [](CCmdTarget* p, WPARAM w, LPARAM, LRESULT* r) {        \
         AFX_THIS(p)->OnSetFocus(reinterpret_cast<HWND>(w));                     \
         *r = 0;                                                                 \
     }},
#define ON_WM_KILLFOCUS()                                                        \
    {WM_KILLFOCUS, 0, 0, [](CCmdTarget* p, WPARAM w, LPARAM, LRESULT* r) {       \
         AFX_THIS(p)->OnKillFocus(reinterpret_cast<HWND>(w));                    \
         *r = 0;                                                                 \
     }},

// void OnXxx(): a control notification sent through WM_COMMAND
#define ON_CONTROL(wNotifyCode, id, memberFxn)                                   \
    {WM_COMMAND, static_cast<UINT>(wNotifyCode), static_cast<UINT>(id),          \
     [](CCmdTarget* p, WPARAM, LPARAM, LRESULT* r) {                             \
         AFX_THIS(p)->memberFxn();                                               \
         *r = 0;                                                                 \
     }},
#define ON_COMMAND(id, memberFxn) ON_CONTROL(0, id, memberFxn)
#define ON_BN_CLICKED(id, memberFxn) ON_CONTROL(BN_CLICKED, id, memberFxn)
#define ON_LBN_SELCHANGE(id, memberFxn) ON_CONTROL(LBN_SELCHANGE, id, memberFxn)

// void OnXxx(NMHDR*, LRESULT*): a WM_NOTIFY notification
#define ON_NOTIFY(wNotifyCode, id, memberFxn)                                    \
    {WM_NOTIFY, static_cast<UINT>(wNotifyCode), static_cast<UINT>(id),           \
     [](CCmdTarget* p, WPARAM, LPARAM l, LRESULT* r) {                           \
         AFX_THIS(p)->memberFxn(reinterpret_cast<NMHDR*>(l), r);                 \
     }},
