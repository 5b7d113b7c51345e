// F4 and F3 of the editor: save the editor's set to a file chosen by the user, open a file into it.
#pragma once

// Sets the input cooldown, asks for a path and writes the set. 0 written (or failed with a message), -1 cancelled.
int SaveEditorSet();
// Sets the input cooldown, asks for a path and reads the file into the editor's set. 0 read (or the file
// could not be opened), -1 cancelled or refused.
int OpenIntoEditorSet();
