// F3 and F4 of the editor: not built yet; both behave as a cancelled dialog.
#include "editor/file_commands.h"

int SaveEditorSet() { return -1; }
int OpenIntoEditorSet() { return -1; }
