#pragma once
// The designed geometry of the main window's controls, in twips, and the rules that fit it to the
// window on every resize. Pure arithmetic: the window turns the result into pixels.
#include "ui/Twips.h"

namespace tandrel {

struct MainLayout {
  // Each rectangle is relative to its container: fraMain and BAR to the client area, lstTareas and
  // picEstado to fraMain, the rest to picEstado.
  TwipRect BAR;
  int panel1Width = 0;
  TwipRect fraMain;
  TwipRect lstTareas;
  TwipRect picEstado;
  TwipRect fraEstado;
  TwipRect lstEstado;
  TwipRect txtEstado;
  TwipRect ProgressBar;

  // The geometry as designed for a client area of 11295 x 8100 twips.
  static MainLayout Designed();

  // Fits the controls to a client area of the given size (twips). BAR keeps its height and stays at
  // the bottom; the task list keeps its height; the log box keeps its width at the right edge; the
  // file list takes the rest. A rule whose result would be negative is skipped, so a window shrunk
  // to nothing keeps the last sizes that made sense.
  void Fit(int clientWidth, int clientHeight);
};

}  // namespace tandrel
