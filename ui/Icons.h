#pragma once
// Tandrel's own artwork: the row icons of both lists (imgEstado) and the toolbar images
// (ImageList1), drawn in code. Each image carries its own filled shape and a darker outline, so it
// reads on light and dark themes alike.
#include "ui/ImageList.h"

namespace tandrel {

// Keys "ADD", "DEL", "OK", "ACTU", "CONFLICT", "KO", "ALERT", "USER".
ImageList MakeStateImages();
// Keys "NEWT", "ANAL", "SYNC", "OPTIONS", "OKS", "FSYNC", "CONFLICT". The filter buttons share the
// images of the rows they show, so a button and its rows are recognised as one kind.
ImageList MakeToolImages();

}  // namespace tandrel
