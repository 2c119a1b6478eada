// Drives the fake ACT! server through COM by ProgID and late binding, as a client would, and
// checks its contract. Registers the server itself, and leaves it registered.
// Usage: fake_act_selfcheck [path\to\fakeact.dll]
//        fake_act_selfcheck --local [path\to\fakeact_server.exe]

#include <objbase.h>
#include <oleauto.h>
#include <windows.h>

#include <tlhelp32.h>

#include <cstdio>
#include <cstring>
#include <map>
#include <string>
#include <vector>

namespace {

int failures = 0;
int checks = 0;
bool outOfProcess = false;

void check(bool ok, const std::string &what)
{
    ++checks;
    if (!ok) {
        ++failures;
        std::printf("FAIL: %s\n", what.c_str());
    }
}

std::string narrow(const std::wstring &text)
{
    const int size = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()),
                                         nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), size,
                        nullptr, nullptr);
    return out;
}

std::wstring fromBstr(BSTR text)
{
    return text ? std::wstring(text, SysStringLen(text)) : std::wstring();
}

// An argument as the client passes it.
struct Arg
{
    VARTYPE vt;
    LONG number = 0;
    std::wstring text;
};
Arg i2(SHORT n)
{
    return {VT_I2, n, {}};
}
Arg i4(LONG n)
{
    return {VT_I4, n, {}};
}
Arg str(const std::wstring &s)
{
    return {VT_BSTR, 0, s};
}
Arg i2ByRef(SHORT n)
{
    return {VT_BYREF | VT_I2, n, {}};
}

enum class Mode { Normal, NoResult, NoExcepInfo, NamedArg, PropertyPut };

// What one call should give. `text` is the result formatted (BOOL as true/false, objects as
// "object") or, for DISP_E_EXCEPTION, the description.
struct Expect
{
    HRESULT hr;
    VARTYPE vt = VT_EMPTY;
    std::wstring text;
    bool deferred = false;
    UINT argErr = 0;
};
Expect returns(VARTYPE vt, const std::wstring &text = {})
{
    return {S_OK, vt, text};
}
Expect fails(const std::wstring &description)
{
    return {DISP_E_EXCEPTION, VT_EMPTY, description};
}
Expect failsDeferred(const std::wstring &description)
{
    return {DISP_E_EXCEPTION, VT_EMPTY, description, true};
}
Expect mismatch(UINT argErr)
{
    return {DISP_E_TYPEMISMATCH, VT_EMPTY, {}, false, argErr};
}
Expect error(HRESULT hr)
{
    return {hr, VT_EMPTY, {}};
}

// Objects live in slots named after their source; the four classes start there by ProgID.
struct Step
{
    const char *label;
    const wchar_t *target;
    const wchar_t *member; // "#n" calls DISPID n directly
    std::vector<Arg> args;
    Expect expect;
    const wchar_t *keep = nullptr; // slot for an object result
    Mode mode = Mode::Normal;
};

std::map<std::wstring, IDispatch *> slots;

std::wstring formatted(const VARIANT &value)
{
    switch (value.vt) {
    case VT_EMPTY:
        return {};
    case VT_BOOL:
        return value.boolVal == VARIANT_TRUE ? L"true" : value.boolVal ? L"bad bool" : L"false";
    case VT_I2:
        return std::to_wstring(value.iVal);
    case VT_I4:
        return std::to_wstring(value.lVal);
    case VT_BSTR:
        return fromBstr(value.bstrVal);
    case VT_DISPATCH:
        return L"object";
    default:
        return L"vt " + std::to_wstring(value.vt);
    }
}

void runStep(const Step &step)
{
    const std::string label = step.label;
    IDispatch *object = slots[step.target];
    if (!object) {
        check(false, label + ": no object " + narrow(step.target));
        return;
    }

    DISPID id = DISPID_UNKNOWN;
    if (step.member[0] == L'#') {
        id = _wtoi(step.member + 1);
    } else {
        LPOLESTR name = const_cast<LPOLESTR>(step.member);
        const HRESULT hr = object->GetIDsOfNames(IID_NULL, &name, 1, 0, &id);
        if (FAILED(hr)) {
            check(hr == step.expect.hr && id == DISPID_UNKNOWN, label + ": GetIDsOfNames");
            return;
        }
    }

    std::vector<VARIANT> args(step.args.size());
    std::vector<SHORT> byRef(step.args.size());
    for (size_t i = 0; i < step.args.size(); ++i) {
        const Arg &arg = step.args[i];
        VARIANT &slot = args[step.args.size() - 1 - i]; // reversed, as DISPPARAMS wants
        VariantInit(&slot);
        slot.vt = arg.vt;
        if (arg.vt == VT_I2)
            slot.iVal = static_cast<SHORT>(arg.number);
        else if (arg.vt == VT_I4)
            slot.lVal = arg.number;
        else if (arg.vt == VT_BSTR)
            slot.bstrVal = SysAllocStringLen(arg.text.data(), static_cast<UINT>(arg.text.size()));
        else if (arg.vt == (VT_BYREF | VT_I2)) {
            byRef[i] = static_cast<SHORT>(arg.number);
            slot.piVal = &byRef[i];
        }
    }
    DISPID named = 1;
    DISPPARAMS params = {args.data(), nullptr, static_cast<UINT>(args.size()), 0};
    if (step.mode == Mode::NamedArg) {
        params.rgdispidNamedArgs = &named;
        params.cNamedArgs = 1;
    }
    const WORD flags = step.mode == Mode::PropertyPut ? DISPATCH_PROPERTYPUT
                                                      : DISPATCH_METHOD | DISPATCH_PROPERTYGET;
    VARIANT result;
    VariantInit(&result);
    EXCEPINFO info = {};
    UINT argErr = 12345;
    const HRESULT hr = object->Invoke(id, IID_NULL, 0, flags, &params,
                                      step.mode == Mode::NoResult ? nullptr : &result,
                                      step.mode == Mode::NoExcepInfo ? nullptr : &info, &argErr);
    for (auto &arg : args)
        VariantClear(&arg);

    const Expect &want = step.expect;
    char code[16];
    std::snprintf(code, sizeof(code), "%08lx", static_cast<unsigned long>(hr));
    check(hr == want.hr, label + ": HRESULT " + code);
    if (hr == S_OK && step.mode != Mode::NoResult) {
        check(result.vt == want.vt, label + ": result type " + std::to_string(result.vt));
        check(formatted(result) == want.text,
              label + ": result \"" + narrow(formatted(result)) + "\"");
        if (step.keep && result.vt == VT_DISPATCH) {
            if (slots[step.keep])
                slots[step.keep]->Release();
            slots[step.keep] = result.pdispVal;
            result.pdispVal->AddRef();
        }
    }
    if (hr == DISP_E_TYPEMISMATCH)
        check(argErr == want.argErr, label + ": puArgErr " + std::to_string(argErr));
    if (hr == DISP_E_EXCEPTION && step.mode == Mode::Normal) {
        // Out of process the texts must come filled in: a function pointer from the server's
        // address space would crash the client.
        if (outOfProcess)
            check(!info.pfnDeferredFillIn, label + ": no fill-in function from another process");
        else
            check((info.pfnDeferredFillIn != nullptr) == want.deferred,
                  label + ": deferred fill-in");
        if (info.pfnDeferredFillIn && !outOfProcess) {
            check(!info.bstrDescription && !info.bstrSource, label + ": empty before fill-in");
            check(info.pfnDeferredFillIn(&info) == S_OK, label + ": fill-in succeeds");
        }
        check(info.scode == E_FAIL, label + ": scode");
        check(fromBstr(info.bstrSource) == step.target,
              label + ": source " + narrow(fromBstr(info.bstrSource)));
        check(fromBstr(info.bstrDescription) == want.text,
              label + ": description " + narrow(fromBstr(info.bstrDescription)));
    }
    SysFreeString(info.bstrSource);
    SysFreeString(info.bstrDescription);
    SysFreeString(info.bstrHelpFile);
    VariantClear(&result);
}

// Slot names: the source names of the objects.
const wchar_t event[] = L"ACTEVENTLib.ActEvent";
const wchar_t db[] = L"ACTOLE.DATABASE";
const wchar_t app[] = L"ACTOLE.APPOBJECT";
const wchar_t aux[] = L"ACTOLE.AUXCMDS";
const wchar_t table[] = L"ACTOLE.CONTACT";
const wchar_t fields[] = L"ACTOLE.FIELDS";
const wchar_t views[] = L"ACTOLE.VIEWS";
const wchar_t view[] = L"ACTOLE.CONTACTVIEW";

// clang-format off
const Step steps[] = {
    // Calling rules
    {"name in any case", event, L"isactRUNNING", {}, returns(VT_BOOL, L"true")},
    {"unknown name", event, L"IsActDead", {}, error(DISP_E_UNKNOWNNAME)},
    {"unknown DISPID", event, L"#99", {}, error(DISP_E_MEMBERNOTFOUND)},
    {"DISPID 0", event, L"#0", {}, error(DISP_E_MEMBERNOTFOUND)},
    {"property put", db, L"IsOpen", {}, error(DISP_E_MEMBERNOTFOUND), nullptr, Mode::PropertyPut},
    {"named argument", db, L"OpenEx", {str(L"")}, error(DISP_E_NONAMEDARGS), nullptr,
        Mode::NamedArg},
    {"too many arguments", db, L"IsOpen", {i4(1)}, error(DISP_E_BADPARAMCOUNT)},
    {"too few arguments", db, L"OpenEx", {}, error(DISP_E_BADPARAMCOUNT)},
    {"no EXCEPINFO", db, L"Contact", {}, error(DISP_E_EXCEPTION), nullptr, Mode::NoExcepInfo},

    // Database and fields
    {"closed at load", db, L"IsOpen", {}, returns(VT_BOOL, L"false")},
    {"contact table while closed", db, L"Contact", {}, fails(L"Keine Datenbank geöffnet.")},
    {"open a missing path", db, L"OpenEx", {str(L"C:\\Daten\\Kunden.dbf")},
        failsDeferred(L"Die Datenbank „C:\\Daten\\Kunden.dbf“ gibt es nicht.")},
    {"missing path leaves it closed", db, L"IsOpen", {}, returns(VT_BOOL, L"false")},
    {"open the current database", db, L"OpenEx", {str(L"")}, returns(VT_EMPTY)},
    {"open", db, L"IsOpen", {}, returns(VT_BOOL, L"true")},
    {"contact table", db, L"Contact", {}, returns(VT_DISPATCH, L"object"), table},
    {"field count", table, L"FieldCount", {}, returns(VT_I2, L"8")},
    {"fields", table, L"Fields", {}, returns(VT_DISPATCH, L"object"), fields},
    {"first field", fields, L"FieldIdAt", {i2(0)}, returns(VT_I4, L"1")},
    {"last field", fields, L"FieldIdAt", {i2(7)}, returns(VT_I4, L"40")},
    {"position from text", fields, L"FieldIdAt", {str(L"4")}, returns(VT_I4, L"25")},
    {"position by reference", fields, L"FieldIdAt", {i2ByRef(6)}, returns(VT_I4, L"27")},
    {"position past the end", fields, L"FieldIdAt", {i2(8)}, fails(L"Keine Feldposition 8.")},
    {"negative position", fields, L"FieldIdAt", {i2(-1)}, fails(L"Keine Feldposition -1.")},
    {"position not a number", fields, L"FieldIdAt", {str(L"vier")}, mismatch(0)},
    {"non-ASCII label", fields, L"Label", {i4(25)}, returns(VT_BSTR, L"Straße")},
    {"empty label", fields, L"Label", {i4(40)}, returns(VT_BSTR, L"")},
    {"unknown field label", fields, L"Label", {i4(5)}, fails(L"Das Feld 5 gibt es nicht.")},

    // Views and contacts
    {"views", app, L"Views", {}, returns(VT_DISPATCH, L"object"), views},
    {"contact view in any case", views, L"Create", {i2(1), str(L"contactview")},
        returns(VT_DISPATCH, L"object"), view},
    {"other view kind", views, L"Create", {i2(2), str(L"ContactView")},
        fails(L"Keine Ansicht 2/„ContactView“.")},
    {"other view name", views, L"Create", {i2(1), str(L"GroupView")},
        fails(L"Keine Ansicht 1/„GroupView“.")},
    {"kind not a number, first of two", views, L"Create", {str(L"eins"), str(L"ContactView")},
        mismatch(1)},
    {"one contact at load", view, L"ContactCount", {}, returns(VT_I4, L"1")},
    {"the shown contact", view, L"GetField", {i4(4)}, returns(VT_BSTR, L"Mustermann")},
    {"new contact", view, L"AddNewContact", {}, returns(VT_EMPTY)},
    {"new contact counted", view, L"ContactCount", {}, returns(VT_I4, L"2")},
    {"new contact is empty", view, L"GetField", {i4(4)}, returns(VT_BSTR, L"")},
    {"set a field", view, L"SetField", {i4(25), str(L"Hauptstraße 1")}, returns(VT_EMPTY)},
    {"field kept", view, L"GetField", {i4(25)}, returns(VT_BSTR, L"Hauptstraße 1")},
    {"set with the result dropped", view, L"SetField", {i4(27), str(L"Köln")}, error(S_OK),
        nullptr, Mode::NoResult},
    {"field set without result", view, L"GetField", {i4(27)}, returns(VT_BSTR, L"Köln")},
    {"set an unknown field", view, L"SetField", {i4(99), str(L"x")},
        fails(L"Das Feld 99 gibt es nicht.")},
    {"get an unknown field", view, L"GetField", {i4(0)}, fails(L"Das Feld 0 gibt es nicht.")},
    {"field number not a number", view, L"SetField", {str(L"PLZ"), str(L"50667")}, mismatch(1)},
    {"set a text with a NUL inside", view, L"SetField", {i4(1), str(std::wstring(L"A\0B", 3))},
        returns(VT_EMPTY)},
    {"the whole text comes back", view, L"GetField", {i4(1)},
        returns(VT_BSTR, std::wstring(L"A\0B", 3))},

    // Aux commands and toolbars
    {"add a command", aux, L"AddAuxCommand", {str(L"Ordalis"), str(L"C:\\Ordalis\\ordalis.exe"),
        str(L"C:\\Ordalis"), str(L"Adresse"), str(L"Adresse übernehmen"), str(L"klein.ico"),
        str(L"groß.ico"), i2(0)}, returns(VT_I4, L"0")},
    {"same name in other case", aux, L"AddAuxCommand", {str(L"ORDALIS"), str(L"b"), str(L""),
        str(L""), str(L""), str(L""), str(L""), i2(0)}, returns(VT_I4, L"1")},
    {"empty name", aux, L"AddAuxCommand", {str(L""), str(L"b"), str(L""), str(L""), str(L""),
        str(L""), str(L""), i2(0)}, returns(VT_I4, L"1")},
    {"flags not a number, last argument", aux, L"AddAuxCommand", {str(L"X"), str(L""), str(L""),
        str(L""), str(L""), str(L""), str(L""), str(L"ja")}, mismatch(0)},
    {"command exists", aux, L"AuxCommandExists", {str(L"ordalis")}, returns(VT_I4, L"1")},
    {"mismatch added nothing", aux, L"AuxCommandExists", {str(L"X")}, returns(VT_I4, L"0")},
    {"first text kept, not the duplicate's", aux, L"AuxCommandText", {str(L"Ordalis"), i2(1)},
        returns(VT_BSTR, L"C:\\Ordalis\\ordalis.exe")},
    {"last text", aux, L"AuxCommandText", {str(L"Ordalis"), i2(6)}, returns(VT_BSTR, L"groß.ico")},
    {"text index past the end", aux, L"AuxCommandText", {str(L"Ordalis"), i2(7)},
        fails(L"Keine Textnummer 7.")},
    {"text of an unknown command", aux, L"AuxCommandText", {str(L"Nix"), i2(0)},
        fails(L"Den Befehl „Nix“ gibt es nicht.")},
    {"onto toolbar 1", aux, L"AddAuxCommandToToolbar", {i2(1), str(L"Ordalis")},
        returns(VT_I4, L"0")},
    {"onto toolbar 1 again", aux, L"AddAuxCommandToToolbar", {i2(1), str(L"ordalis")},
        returns(VT_I4, L"0")},
    {"on toolbar 1", aux, L"AuxCommandExistsInToolbar", {i2(1), str(L"Ordalis")},
        returns(VT_I4, L"1")},
    {"not on toolbar 3", aux, L"AuxCommandExistsInToolbar", {i2(3), str(L"Ordalis")},
        returns(VT_I4, L"0")},
    {"toolbar 2 does not exist", aux, L"AuxCommandExistsInToolbar", {i2(2), str(L"Ordalis")},
        fails(L"Keine Symbolleiste 2.")},
    {"unknown command onto a toolbar", aux, L"AddAuxCommandToToolbar", {i2(3), str(L"Nix")},
        fails(L"Den Befehl „Nix“ gibt es nicht.")},
    {"bad toolbar before unknown command", aux, L"AddAuxCommandToToolbar", {i2(0), str(L"Nix")},
        fails(L"Keine Symbolleiste 0.")},
    {"remove from toolbar 1 once", aux, L"RemoveAuxCommandFromToolbar", {i2(1), str(L"Ordalis")},
        returns(VT_I4, L"0")},
    {"no duplicate was left", aux, L"AuxCommandExistsInToolbar", {i2(1), str(L"Ordalis")},
        returns(VT_I4, L"0")},
    {"remove what is absent", aux, L"RemoveAuxCommandFromToolbar", {i2(3), str(L"Nix")},
        returns(VT_I4, L"0")},
    {"remove from a bad toolbar", aux, L"RemoveAuxCommandFromToolbar", {i2(4), str(L"Ordalis")},
        fails(L"Keine Symbolleiste 4.")},
    {"onto toolbar 3", aux, L"AddAuxCommandToToolbar", {i2(3), str(L"Ordalis")},
        returns(VT_I4, L"0")},
    {"delete", aux, L"DeleteAuxCommand", {str(L"ORDALIS")}, returns(VT_I4, L"0")},
    {"deleted is off toolbar 3", aux, L"AuxCommandExistsInToolbar", {i2(3), str(L"Ordalis")},
        returns(VT_I4, L"0")},
    {"deleted is gone", aux, L"AuxCommandExists", {str(L"Ordalis")}, returns(VT_I4, L"0")},
    {"delete again", aux, L"DeleteAuxCommand", {str(L"Ordalis")},
        fails(L"Den Befehl „Ordalis“ gibt es nicht.")},
};

// After FakeActReset, objects already held still work and see the load state.
const Step afterReset[] = {
    {"reset closes", db, L"IsOpen", {}, returns(VT_BOOL, L"false")},
    {"reset keeps one contact", view, L"ContactCount", {}, returns(VT_I4, L"1")},
    {"reset shows the load contact", view, L"GetField", {i4(3)}, returns(VT_BSTR, L"Erika")},
};
// clang-format on

const wchar_t control[] = L"FakeAct.Control";
const wchar_t databaseClsid[] = L"{A3545B7A-880A-4450-90DF-550DCD00D610}";
const wchar_t controlClsid[] = L"{F259560A-A075-43C9-A332-72DF905C4BC6}";

bool registryKeyExists(const std::wstring &key)
{
    HKEY handle = nullptr;
    if (RegOpenKeyExW(HKEY_CLASSES_ROOT, key.c_str(), 0, KEY_READ, &handle) != ERROR_SUCCESS)
        return false;
    RegCloseKey(handle);
    return true;
}

std::wstring registryText(const std::wstring &key, const wchar_t *name)
{
    wchar_t value[1024] = {};
    DWORD size = sizeof(value);
    if (RegGetValueW(HKEY_CLASSES_ROOT, key.c_str(), name, RRF_RT_REG_SZ, nullptr, value, &size) !=
        ERROR_SUCCESS)
        return L"<missing>";
    return value;
}

// A stale key of the other server kind, as a registration of it leaves behind.
void plantKey(const std::wstring &key)
{
    HKEY handle = nullptr;
    if (RegCreateKeyExW(HKEY_CLASSES_ROOT, key.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &handle,
                        nullptr) == ERROR_SUCCESS)
        RegCloseKey(handle);
}

void plantOtherServerKeys()
{
    const wchar_t *other = outOfProcess ? L"\\InprocServer32" : L"\\LocalServer32";
    for (const wchar_t *clsid : {databaseClsid, controlClsid})
        plantKey(L"CLSID\\" + std::wstring(clsid) + other);
}

void checkRegistration(const std::wstring &serverPath)
{
    for (const auto &[progId, clsid] : {std::pair{db, databaseClsid}, {control, controlClsid}}) {
        const std::string name = narrow(progId);
        const std::wstring clsidKey = L"CLSID\\" + std::wstring(clsid);
        check(registryText(std::wstring(progId) + L"\\CLSID", nullptr) == clsid,
              name + ": ProgID names the CLSID");
        check(registryText(clsidKey + L"\\ProgID", nullptr) == progId,
              name + ": CLSID names the ProgID");
        const std::wstring server =
            clsidKey + (outOfProcess ? L"\\LocalServer32" : L"\\InprocServer32");
        check(_wcsicmp(registryText(server, nullptr).c_str(), serverPath.c_str()) == 0,
              name + ": server path " + narrow(registryText(server, nullptr)));
        if (!outOfProcess)
            check(registryText(server, L"ThreadingModel") == L"Both", name + ": threading model");
        const wchar_t *other = outOfProcess ? L"\\InprocServer32" : L"\\LocalServer32";
        check(!registryKeyExists(clsidKey + other), name + ": the other server's key is gone");
    }
}

void checkObjectBasics(IDispatch *object)
{
    IUnknown *other = nullptr;
    check(object->QueryInterface(IID_IPersist, reinterpret_cast<void **>(&other)) ==
                  E_NOINTERFACE &&
              !other,
          "QueryInterface for another interface");
    UINT count = 7;
    check(object->GetTypeInfoCount(&count) == S_OK && count == 0, "no type information");
    ITypeInfo *info = nullptr;
    check(object->GetTypeInfo(0, 0, &info) == DISP_E_BADINDEX, "GetTypeInfo");
}

IDispatch *create(const wchar_t *progId)
{
    CLSID clsid;
    IDispatch *object = nullptr;
    if (SUCCEEDED(CLSIDFromProgID(progId, &clsid)))
        CoCreateInstance(clsid, nullptr, outOfProcess ? CLSCTX_LOCAL_SERVER : CLSCTX_INPROC_SERVER,
                         IID_IDispatch, reinterpret_cast<void **>(&object));
    check(object != nullptr, "create " + narrow(progId));
    return object;
}

// Calls a member without arguments; VT_EMPTY on failure.
VARIANT callMember(IDispatch *object, const wchar_t *member)
{
    VARIANT result;
    VariantInit(&result);
    DISPID id = DISPID_UNKNOWN;
    LPOLESTR name = const_cast<LPOLESTR>(member);
    DISPPARAMS none = {};
    if (object && SUCCEEDED(object->GetIDsOfNames(IID_NULL, &name, 1, 0, &id)))
        object->Invoke(id, IID_NULL, 0, DISPATCH_METHOD, &none, &result, nullptr, nullptr);
    return result;
}

LONG liveObjects(IDispatch *controlObject)
{
    const VARIANT count = callMember(controlObject, L"LiveObjects");
    return count.vt == VT_I4 ? count.lVal : -1;
}

bool serverProcessRunning()
{
    const HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snapshot == INVALID_HANDLE_VALUE)
        return false;
    PROCESSENTRY32W entry = {};
    entry.dwSize = sizeof(entry);
    bool found = false;
    for (BOOL more = Process32FirstW(snapshot, &entry); more && !found;
         more = Process32NextW(snapshot, &entry))
        found = _wcsicmp(entry.szExeFile, L"fakeact_server.exe") == 0;
    CloseHandle(snapshot);
    return found;
}

bool serverProcessEnds()
{
    for (int tries = 0; tries < 100; ++tries) {
        if (!serverProcessRunning())
            return true;
        Sleep(100);
    }
    return false;
}

// Runs `program argument` and gives its exit code, -1 if it did not run.
long runProgram(const std::wstring &program, const wchar_t *argument)
{
    std::wstring commandLine = L"\"" + program + L"\" " + argument;
    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process = {};
    if (!CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        nullptr, &startup, &process))
        return -1;
    WaitForSingleObject(process.hThread, INFINITE);
    WaitForSingleObject(process.hProcess, 60000);
    DWORD code = 0;
    GetExitCodeProcess(process.hProcess, &code);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return static_cast<long>(code);
}

template <class Function> Function entry(HMODULE dll, const char *name)
{
    return reinterpret_cast<Function>(reinterpret_cast<void *>(GetProcAddress(dll, name)));
}

// The DLL's own entry points, used beside COM in process.
struct DllEntries
{
    using Entry = HRESULT(STDAPICALLTYPE *)();
    Entry registerServer = nullptr;
    Entry unregisterServer = nullptr;
    Entry canUnload = nullptr;
    LONG (*liveObjects)() = nullptr;
    void (*reset)() = nullptr;

    bool load(const std::wstring &path)
    {
        const HMODULE dll = LoadLibraryW(path.c_str());
        if (!dll)
            return false;
        registerServer = entry<Entry>(dll, "DllRegisterServer");
        unregisterServer = entry<Entry>(dll, "DllUnregisterServer");
        canUnload = entry<Entry>(dll, "DllCanUnloadNow");
        liveObjects = entry<LONG (*)()>(dll, "FakeActLiveObjects");
        reset = entry<void (*)()>(dll, "FakeActReset");
        return registerServer && unregisterServer && canUnload && liveObjects && reset;
    }
};

// A client that creates again at once after its last release must not catch the server on its
// way out; one that comes after the server ended gets a new one.
void checkServerRestarts()
{
    for (int round = 1; round <= 5; ++round) {
        IDispatch *again = create(event);
        VARIANT running = callMember(again, L"IsActRunning");
        check(running.vt == VT_BOOL && running.boolVal == VARIANT_TRUE,
              "the server answers in round " + std::to_string(round));
        if (again)
            again->Release();
    }
    check(serverProcessEnds(), "the last server ends as well");
}

} // namespace

int main(int argc, char **argv)
{
    int next = 1;
    if (argc > 1 && std::strcmp(argv[1], "--local") == 0) {
        outOfProcess = true;
        ++next;
    }
    const std::string given = argc > next    ? argv[next]
                              : outOfProcess ? "fakeact_server.exe"
                                             : "fakeact.dll";
    wchar_t full[MAX_PATH] = {};
    GetFullPathNameW(std::wstring(given.begin(), given.end()).c_str(), MAX_PATH, full, nullptr);

    DllEntries dll;
    plantOtherServerKeys();
    if (outOfProcess) {
        check(runProgram(full, L"/RegServer") == 0, "fakeact_server /RegServer");
    } else {
        if (!dll.load(full)) {
            std::printf("cannot load %s or its exports\n", given.c_str());
            return 2;
        }
        check(dll.registerServer() == S_OK, "DllRegisterServer");
    }
    checkRegistration(full);

    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    for (const wchar_t *progId : {event, db, app, aux})
        slots[progId] = create(progId);
    IDispatch *controlObject = create(control);
    if (outOfProcess) {
        check(!GetModuleHandleW(L"fakeact.dll"), "no server code in this process");
        check(serverProcessRunning(), "the server process runs");
    }
    if (slots[db])
        checkObjectBasics(slots[db]);
    check(liveObjects(controlObject) == 4,
          "control objects not counted: " + std::to_string(liveObjects(controlObject)));
    for (const Step &step : steps)
        runStep(step);
    const LONG held = liveObjects(controlObject);
    check(held == 8, "live objects while held: " + std::to_string(held));
    if (outOfProcess) {
        check(callMember(controlObject, L"Reset").vt == VT_EMPTY, "reset by the control");
    } else {
        check(dll.liveObjects() == held, "the export counts as the control");
        check(dll.canUnload() == S_FALSE, "cannot unload while objects live");
        dll.reset();
    }
    for (const Step &step : afterReset)
        runStep(step);

    for (auto &[name, object] : slots) {
        if (object)
            object->Release();
    }
    slots.clear();
    check(liveObjects(controlObject) == 0,
          "live objects after release: " + std::to_string(liveObjects(controlObject)));
    if (outOfProcess)
        check(serverProcessRunning(), "a control object keeps the server running");
    if (controlObject)
        controlObject->Release();

    if (outOfProcess) {
        check(serverProcessEnds(), "the server ends after the last release");
        checkServerRestarts();
    } else {
        check(dll.canUnload() == S_OK, "can unload after release");
        check(dll.unregisterServer() == S_OK, "DllUnregisterServer");
        CLSID gone;
        check(CLSIDFromProgID(L"ACTOLE.DATABASE", &gone) != S_OK,
              "ProgID gone after unregistering");
        check(dll.registerServer() == S_OK, "register again");
    }
    CoUninitialize();

    std::printf("fake_act self-check%s: %d checks, %d failed\n",
                outOfProcess ? " (local server)" : "", checks, failures);
    return failures == 0 ? 0 : 1;
}
