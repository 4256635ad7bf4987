#pragma once

// What a Qt host shows of the control: its property page in a dialog, and its about box.

class QWidget;

namespace tolvex {

class CTolvexCtrl;

// Edits the control's properties modally; returns QDialog::Accepted when OK closed it.
int ShowPropertyPage(CTolvexCtrl& control, QWidget* parent = nullptr);
void ShowAboutBox(QWidget* parent = nullptr);

} // namespace tolvex
