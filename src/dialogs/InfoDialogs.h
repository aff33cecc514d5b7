#pragma once

class IPlatform;
class QDialog;
class QWidget;

// The Help menu's two fixed-text dialogs, each a plain QDialog with an OK
// button. They show information only and change nothing.

// Fills an empty dialog with the about box's caption, lines and OK button.
void BuildAboutDialog(QDialog& dialog);
// Fills an empty dialog with the eleven tips and the OK button.
void BuildTipsDialog(QDialog& dialog);

// Build the dialog and run it through the platform; return the result.
int RunAboutDialog(IPlatform& platform, QWidget* parent);
int RunTipsDialog(IPlatform& platform, QWidget* parent);
