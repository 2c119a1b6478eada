#pragma once

// Our model of ACT!'s automation objects, for testing COM clients under Wine.
// This comment is the contract the test programs rely on.
//
// Classes (IDispatch only, no type library):
//   "ACTEVENTLib.ActEvent"  {c264c5c5-1c4d-488a-b60e-fec150c9a32e}
//   "ACTOLE.DATABASE"       {a3545b7a-880a-4450-90df-550dcd00d610}
//   "ACTOLE.APPOBJECT"      {c00d9467-10fb-4875-a283-91e5776d7563}
//   "ACTOLE.AUXCMDS"        {daef1e5c-9b74-404c-8634-5393f3a794a5}
//   "FakeAct.Control"       {f259560a-a075-43c9-a332-72df905c4bc6}  (test control, see below)
// Served either in process by fakeact.dll (regsvr32: InprocServer32, ThreadingModel "Both") or
// out of process by fakeact_server.exe (/RegServer: LocalServer32); each registration deletes
// the other's key. Both hold one state per server process. The local server is an STA that
// exits when its last object and lock are gone, 30 s after start if nobody came, or after 60 s
// without a call while objects are held (their clients ended without releasing them).
//
// Calling rules (as a type-library server behaves):
//   - Names are case-insensitive; unknown -> DISP_E_UNKNOWNNAME with DISPID_UNKNOWN.
//   - Invoke needs DISPATCH_METHOD or DISPATCH_PROPERTYGET, else DISP_E_MEMBERNOTFOUND; unknown
//     DISPID -> DISP_E_MEMBERNOTFOUND; named arguments -> DISP_E_NONAMEDARGS; wrong count ->
//     DISP_E_BADPARAMCOUNT; an argument VariantChangeType cannot convert (after dereferencing
//     VT_BYREF) -> DISP_E_TYPEMISMATCH with *puArgErr = its index in rgvarg.
//   - A failing member returns DISP_E_EXCEPTION; EXCEPINFO gets scode E_FAIL, bstrSource the
//     object's source name below, bstrDescription the German text below. The one exception is
//     OpenEx with a path: it sets pfnDeferredFillIn and leaves source and description empty
//     until the client calls it.
//   - pVarResult may be NULL. Object results are new references the client releases.
//
// Shared state, one per process:
//   - database closed at load; fields (number, label) in this order: (1 "Firma") (2 "Kontakt")
//     (3 "Vorname") (4 "Nachname") (25 "Straße") (26 "PLZ") (27 "Ort") (40 "").
//   - one contact at load, current, with 1 = "Muster GmbH", 3 = "Erika", 4 = "Mustermann".
//   - no aux commands; toolbars 1 and 3 empty.
//
// Members (types: I2, I4, BSTR, BOOL, OBJ = VT_DISPATCH, EMPTY = VT_EMPTY):
//   ActEvent ("ACTEVENTLib.ActEvent"): IsActRunning() -> BOOL true.
//   DATABASE ("ACTOLE.DATABASE"):
//     OpenEx(BSTR path) -> EMPTY; "" opens, any other path fails (deferred):
//       Die Datenbank „<path>“ gibt es nicht.
//     IsOpen() -> BOOL.
//     Contact() -> OBJ contact table; while closed fails: Keine Datenbank geöffnet.
//   contact table ("ACTOLE.CONTACT"): Fields() -> OBJ field collection; FieldCount() -> I2 8.
//   field collection ("ACTOLE.FIELDS"):
//     FieldIdAt(I2 position) -> I4 number; outside 0..7 fails: Keine Feldposition <n>.
//     Label(I4 number) -> BSTR; unknown fails: Das Feld <n> gibt es nicht.
//   APPOBJECT ("ACTOLE.APPOBJECT"): Views() -> OBJ view collection.
//   view collection ("ACTOLE.VIEWS"):
//     Create(I2 kind, BSTR name) -> OBJ contact view for 1 / "ContactView" (any case);
//       otherwise fails: Keine Ansicht <kind>/„<name>“.
//   contact view ("ACTOLE.CONTACTVIEW"):
//     AddNewContact() -> EMPTY; appends an empty contact and makes it current.
//     SetField(I4 number, BSTR value) -> EMPTY; unknown field fails: Das Feld <n> gibt es nicht.
//     GetField(I4 number) -> BSTR of the current contact, "" if unset (test only).
//     ContactCount() -> I4 (test only).
//   AUXCMDS ("ACTOLE.AUXCMDS"), command names compared case-insensitively:
//     AddAuxCommand(BSTR name, path, folder, tooltip, description, smallIcon, largeIcon, I2 flags)
//       -> I4 0 added; 1 when the name is empty or taken (nothing changed).
//     AuxCommandExists(BSTR name) -> I4 1 or 0.
//     DeleteAuxCommand(BSTR name) -> I4 0, also off both toolbars; unknown fails:
//       Den Befehl „<name>“ gibt es nicht.
//     AddAuxCommandToToolbar(I2 toolbar, BSTR name) -> I4 0, no duplicates; a toolbar other than
//       1 or 3 fails: Keine Symbolleiste <n>. ; an unknown command fails as DeleteAuxCommand.
//     AuxCommandExistsInToolbar(I2 toolbar, BSTR name) -> I4 1 or 0 (bad toolbar fails).
//     RemoveAuxCommandFromToolbar(I2 toolbar, BSTR name) -> I4 0 (bad toolbar fails).
//     AuxCommandText(BSTR name, I2 index) -> BSTR argument 0..6 of AddAuxCommand (test only);
//       unknown name fails as DeleteAuxCommand, index outside 0..6: Keine Textnummer <n>.
//   Control ("FakeAct.Control"), for the tests, in process or out of it:
//     LiveObjects() -> I4: live automation objects (not class factories, not control objects).
//     Reset() -> EMPTY: back to the load state (live objects stay usable).

#include <oaidl.h>

// Each returns a new object with one reference, or nullptr when out of memory.
IDispatch *createActEvent();
IDispatch *createDatabase();
IDispatch *createAppObject();
IDispatch *createAuxCmds();
IDispatch *createControl();
