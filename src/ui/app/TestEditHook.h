#pragma once

class CMapDoc;

// A hook for scripts that test Tarno from outside (the crash-recovery test): with the
// environment variable BRICKHAVEN_TEST_EDIT set to "delete-all", the map named on the command
// line is changed right after it opened: every object is selected and deleted through the
// document's commands, as Edit > Select all and Edit > Delete would. Any other value is
// reported on standard error and ignored; without the variable nothing happens.
void RunTestEditHook(CMapDoc& document);
