#pragma once
// Every text the uninstaller shows, in one place: window, status line, message boxes and
// the descriptions of its own errors.

#include "resources/version.h"

namespace orbelin::uninstall::text {

// Message boxes (completion, refusal, error reports) carry the program's title.
inline constexpr wchar_t kTitle[] = L"Uninstall";

// The window. Its controls use the default font of the window's design, MS Sans Serif 8 pt.
inline constexpr wchar_t kFontFace[] = L"MS Sans Serif";
inline constexpr int kFontPoints = 8;
inline constexpr wchar_t kCaption[] = L"Uninstall : Orbelin";
inline constexpr wchar_t kFrame1[] = L"Opération en cours :";
inline constexpr wchar_t kLabel1Start[] =
    L"Cliquez sur Uninstall pour commencer la désinstallation du programme....";
inline constexpr wchar_t kFrame2[] = L"Progression de la désinstallation :";
inline constexpr wchar_t kPercentSign[] = L"%";
inline constexpr wchar_t kBtnUninstall[] = L"Uninstall";
inline constexpr wchar_t kBtnQuit[] = L"Quitter";
inline constexpr wchar_t kCopyright[] = L"" VANTREL_COPYRIGHT;

// The status line while the uninstaller runs.
inline constexpr wchar_t kStatusPaths[] = L"Recherche des Chemins des Dossiers...";
inline constexpr wchar_t kStatusRegistryRead[] = L"Lecture dans la Base de registre...";
inline constexpr wchar_t kStatusApplication[] = L"Effacement Application...";
inline constexpr wchar_t kStatusShortcuts[] = L"Effacement Raccourcis...";
inline constexpr wchar_t kStatusRegistryDelete[] = L"Effacement Dans la Base de Registre...";
inline constexpr wchar_t kStatusDone[] = L"Désinstallation Terminée.";

// Message boxes.
inline constexpr wchar_t kDoneBox[] = L"Désinstallation Terminée...";
inline constexpr wchar_t kOrbelinRunning[] =
    L"Orbelin est en cours d'exécution.\nQuittez Orbelin, puis cliquez de nouveau sur Uninstall.";

// Descriptions of the uninstaller's own errors; the path or name concerned follows.
inline constexpr wchar_t kNoSpecialFolder[] = L"Dossier système introuvable : CSIDL ";
inline constexpr wchar_t kHiddenEntry[] =
    L"Le dossier ne peut pas être supprimé, il contient un élément caché ou système : ";
inline constexpr wchar_t kNoConsoleForm[] =
    L"Ce chemin ne peut pas être écrit dans la page de codes de la console : ";

}  // namespace orbelin::uninstall::text
