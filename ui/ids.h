#pragma once
// Control and menu command identifiers of Orbelin's main window, defined once.

namespace orbelin::ids {

// Picture buttons, one per viewer, and the other controls of the main window.
enum Control : int {
    IDC_COMMAND1 = 101,
    IDC_COMMAND3 = 103,
    IDC_COMMAND4 = 104,
    IDC_COMMAND5 = 105,
    IDC_COMMAND6 = 106,
    IDC_COMMAND7 = 107,
    IDC_COMMAND8 = 108,
    IDC_FRAME1 = 120,
    IDC_TEXT1 = 121,
};

// Menu commands; the pop-ups "Paramétres", "Viewer" and "Options" have none.
enum Command : int {
    IDM_MOUVRIR = 201,
    IDM_MCORTONA = 211,
    IDM_MBLAXXUN = 212,
    IDM_MPIVORON = 213,
    IDM_MCOSMO = 214,
    IDM_MBS = 215,
    IDM_MOCTAGA = 216,
    IDM_MFLUX = 217,
    IDM_MVISIBLE = 221,
    IDM_MSYSTRAY = 222,
    IDM_MQUITTER = 231,
    IDM_PROPOS = 232,
};

}  // namespace orbelin::ids
