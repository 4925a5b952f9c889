#pragma once

class EditCommands;
class frmEdit;

// Connects the editing commands to the window: the Edit menu items with their toolbar buttons
// and shortcuts, the action tree's clicks, drops on the step list and edit requests (Enter and
// double click). Sets the initial enabling of Paste and "Add a comment".
void BindEditCommands(frmEdit &window, EditCommands &commands);
