#pragma once
// FGridLayout: the modal dialog in which the user lays out another screen's grid. It
// lists the grid's data columns in its own grid FlexData, one row a column (key,
// caption, visibility, width, alignment), and writes the edited rows back to the
// caller's grid on Aplicar (any number of times) or Aceptar. Nothing is stored: the
// layout lasts as long as the caller's grid.
//
//   auto dialog = vk::Form::Load<vk::consult::FGridLayout>();
//   dialog->mTable = L"Log de Eventos del Sistema";
//   dialog->mGrid = &GRDetail;               // a grid::GridControl of the screen
//   dialog->ShowForm();                      // modal; returns once the dialog is closed
//   dialog->Unload();
//
// Every row is checked before anything is applied: a width that is not a number or is
// negative, or an alignment that is not one of the four codes, applies nothing, keeps
// the dialog open, says in a message which row it is and what it takes, and selects the
// bad cell. The key column is never written back, so
// it takes no input. The dialog closes with the screen whose grid it lays out.
#include <memory>
#include <string>

#include "hosted/frame.h"
#include "hosted/grid/grid_control.h"
#include "hosted/simple_controls.h"
#include "runtime/form.h"

namespace vk::consult {

class FGridLayout : public Form {
 public:
  FGridLayout();

  // What the caller sets.
  grid::GridMembers* mGrid = nullptr;  // the caller's grid (a grid::GridControl of a screen)
  std::wstring mTable;                 // the title shown in the frame

  // Lists the columns of mGrid, then shows the dialog modally over the grid's screen.
  // Always false: the caller does not look at it.
  bool ShowForm();

  // The positions of FlexData's columns.
  enum Column { kColumnId = 1, kCaption, kVisible, kWidth, kAlign };

  hosted::Frame& FrameControl() { return *frame_; }
  grid::GridControl& FlexData() { return *flexData_; }
  hosted::CommandButton& cmdAplicar() { return *apply_; }
  hosted::CommandButton& cmdAceptar() { return *accept_; }
  hosted::CommandButton& cmdCancelar() { return *cancel_; }

 private:
  void ListColumns();
  // Checks every row, then writes them all to mGrid; false (nothing written, the row
  // refused) when a row does not hold.
  bool Apply();
  // Says which row does not hold and what it takes, then opens the bad cell's editor.
  void RefuseRow(int dataRow, int position);
  void cmdAplicar_Click() { Apply(); }
  void cmdAceptar_Click();
  void cmdCancelar_Click() { Unload(); }

  hosted::Frame* frame_ = nullptr;
  grid::GridControl* flexData_ = nullptr;
  hosted::CommandButton* apply_ = nullptr;
  hosted::CommandButton* accept_ = nullptr;
  hosted::CommandButton* cancel_ = nullptr;
  std::weak_ptr<Form> gridForm_;  // the screen holding mGrid, while the dialog is shown
  bool gridOnForm_ = false;
};

}  // namespace vk::consult
