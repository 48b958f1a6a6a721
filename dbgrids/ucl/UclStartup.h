// Start-up and shut-down of the utility layer as one ordered sequence.
// The units' start-up steps run once, before main, in this order (each also
// announces its unit version, 27 in all, to the registry of
// UclUnitVersioning): UclResources, UclWin32, UclStringConversions,
// UclLogic, Ucl8087, UclMath, UclDateTime, UclRegistry, UclSecurity,
// UclShell, UclFileUtils, UclConsole, UclSysUtils, UclCharsets, UclStreams,
// UclAnsiStrings (single-byte tables), UclIniFiles, Snmp, UclSysInfo (the
// start-up facts and the release), UclUnicode (its critical section and the
// comparison choice), UclWideStrings, UclStrings (wide tables), UclSynch,
// UclUnitVersioning, UclBase (the ANSI replacement character), UclMime,
// UclRTTI.  Shut-down runs in reverse: UclRTTI's withdrawal drops the whole
// module, UclUnitVersioning's finalisation frees the registry, and the units
// before it find none.
//
// The one rule: nothing calls these; linking tec_ucl runs them.
#pragma once

namespace ucl {

// True once the start-up sequence has run (for tests).
bool UtilityLayerStarted();
// Runs the shut-down sequence now (idempotent; the end of the program runs
// it otherwise).
void ShutDownUtilityLayer();

} // namespace ucl
