#include "ui/MainLayout.h"

namespace tandrel {

namespace {

// A size that would come out negative (a minimised or tiny window) leaves the control as it was.
void Set(int& field, int value) {
  if (value >= 0) field = value;
}

}  // namespace

MainLayout MainLayout::Designed() {
  MainLayout l;
  l.BAR = {0, 7770, 11295, 330};
  l.panel1Width = 11295;
  l.fraMain = {120, 60, 11055, 7380};
  l.lstTareas = {120, 330, 10815, 1800};
  l.picEstado = {120, 2250, 10815, 5010};
  l.fraEstado = {0, 0, 10815, 5010};
  l.lstEstado = {120, 240, 6255, 4650};
  l.txtEstado = {6495, 240, 4200, 4150};
  l.ProgressBar = {6495, 4450, 4200, 440};
  return l;
}

void MainLayout::Fit(int clientWidth, int clientHeight) {
  // The status bar is aligned to the bottom of the client area: the rules below read its height.
  Set(BAR.top, clientHeight - BAR.height);
  Set(BAR.width, clientWidth - BAR.left);

  Set(panel1Width, clientWidth - BAR.left);
  Set(fraMain.width, clientWidth - 2 * fraMain.left);
  Set(fraMain.height, clientHeight - fraMain.top - BAR.height);
  Set(picEstado.width, fraMain.width - 2 * picEstado.left);
  Set(picEstado.height, fraMain.height - picEstado.top - lstEstado.left);
  Set(fraEstado.width, picEstado.width);
  Set(fraEstado.height, picEstado.height);
  Set(txtEstado.left, picEstado.width - txtEstado.width - lstEstado.left);
  Set(lstEstado.height, picEstado.height - 2 * txtEstado.top + 120);
  Set(txtEstado.height, lstEstado.height - 500);
  Set(ProgressBar.width, txtEstado.width);
  Set(ProgressBar.left, txtEstado.left);
  Set(ProgressBar.top, txtEstado.top + txtEstado.height + 60);
  Set(lstEstado.width, txtEstado.left - 2 * lstEstado.left);
  Set(lstTareas.width, picEstado.width);
}

}  // namespace tandrel
