#include "app/TestEditHook.h"

#include "document/MapDoc.h"
#include "editing/EditCommands.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

void RunTestEditHook(CMapDoc& document) {
    const char* edit = std::getenv("BRICKHAVEN_TEST_EDIT");
    if (!edit || !*edit) {
        return;
    }
    if (std::strcmp(edit, "delete-all") != 0) {
        std::fprintf(stderr, "Tarno: BRICKHAVEN_TEST_EDIT=%s is not known; ignored.\n", edit);
        return;
    }
    document.OnSelectAll();
    OnEditDelete(document);
}
