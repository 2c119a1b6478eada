#pragma once

// Our model of ACT!'s automation objects, for testing COM clients under Wine.
//
// Classes (IDispatch only, no type library): "ACTEVENTLib.ActEvent", "ACTOLE.DATABASE",
// "ACTOLE.APPOBJECT", "ACTOLE.AUXCMDS" and the test control "FakeAct.Control". Served in
// process by fakeact.dll (regsvr32) or out of process by fakeact_server.exe (/RegServer); each
// registration deletes the other's key. One state per server process; the local server ends
// with its last object.
//
// Calling rules, as a type-library server behaves: names are case-insensitive (unknown:
// DISP_E_UNKNOWNNAME); a wrong argument count gives DISP_E_BADPARAMCOUNT; an argument
// VariantChangeType cannot convert gives DISP_E_TYPEMISMATCH with its index in rgvarg; a failing
// member gives DISP_E_EXCEPTION, scode E_FAIL, the object's source and a German description,
// which OpenEx with a path fills in only when the client calls pfnDeferredFillIn.
//
// State at load: database closed, fields 1 Firma, 2 Kontakt, 3 Vorname, 4 Nachname, 25 Straße,
// 26 PLZ, 27 Ort, 40 (no label); one contact (1 Muster GmbH, 3 Erika, 4 Mustermann); no aux
// commands. Members:
//   ActEvent: IsActRunning() -> BOOL true.
//   DATABASE: OpenEx(BSTR path) opens for "", fails for any other path; IsOpen() -> BOOL;
//     Contact() -> contact table, fails while closed.
//   contact table: Fields() -> field collection; FieldCount() -> I2.
//   field collection: FieldIdAt(I2 position) -> I4; Label(I4 number) -> BSTR.
//   APPOBJECT: Views() -> view collection; its Create(I2 1, BSTR "ContactView") -> contact view:
//     AddNewContact(); SetField(I4, BSTR); GetField(I4) -> BSTR and ContactCount() -> I4 (tests).
//   AUXCMDS (names case-insensitive): AddAuxCommand(7 BSTR, I2 flags) -> I4 0, or 1 when the name
//     is empty or taken; AuxCommandExists(BSTR) -> I4 1/0; DeleteAuxCommand(BSTR) -> I4 0, also
//     off the toolbars; AddAuxCommandToToolbar / AuxCommandExistsInToolbar /
//     RemoveAuxCommandFromToolbar(I2 toolbar 1 or 3, BSTR) -> I4; AuxCommandText(BSTR, I2 index)
//     -> BSTR argument 0..6 of AddAuxCommand (tests).
//   Control: LiveObjects() -> I4 automation objects alive (not the control); Reset() -> the state
//     at load.

#include <oaidl.h>
#include <windows.h>

#include <span>
#include <string>

struct ServedClass
{
    const wchar_t *progId;
    CLSID clsid;
    IDispatch *(*create)(); // a new object with one reference
};
std::span<const ServedClass> ServedClasses();

// A class factory, with one reference, for one served class.
IClassFactory *NewClassFactory(const ServedClass &served);

// Writes the ProgID and CLSID keys of every served class for the server at `path`, and deletes
// the other kind's server key, so that COM reaches the objects the way registered last.
HRESULT RegisterServer(bool inProcess, const std::wstring &path);
std::wstring ModulePath(HMODULE module); // nullptr: the program

// Objects and LockServer locks keep a server running; `handler` runs when they drop to zero.
void ServerAddRef();
void ServerRelease();
void OnServerIdle(void (*handler)());

// Out of process, deferred failures are filled in before Invoke returns, as the standard
// marshaler is meant to do it; the one Wine has sends the function pointer across instead.
void FillInFailuresAtOnce();
