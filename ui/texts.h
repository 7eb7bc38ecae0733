#pragma once
// Every text Orbelin shows, in one place. Viewer names come from the catalogue.

#include "resources/version.h"

namespace orbelin::text {

inline constexpr wchar_t kTitle[] = L"Orbelin";

// Main window.
inline constexpr wchar_t kFrameEnCours[] = L"En Cours";
inline constexpr wchar_t kMenuParametres[] = L"Paramétres";
inline constexpr wchar_t kMenuOuvrir[] = L"Ouvrir";
inline constexpr wchar_t kMenuViewer[] = L"Viewer";
inline constexpr wchar_t kMenuOptions[] = L"Options";
inline constexpr wchar_t kMenuVisible[] = L"Toujours à l'écran";
inline constexpr wchar_t kMenuSystray[] = L"Reduire dans le systray";
inline constexpr wchar_t kMenuQuitter[] = L"Quitter";
inline constexpr wchar_t kMenuPropos[] = L"A propos de...";

// Notification-area icon.
inline constexpr wchar_t kTrayTip[] = L"Orbelin by Vantrel";

// About window.
inline constexpr wchar_t kAboutCaption[] = L"A Propos de...";
inline constexpr wchar_t kAboutFrame[] = L"Compatible XP";
inline constexpr wchar_t kAboutViewersHeading[] = L"Et les viewers : ";
inline constexpr wchar_t kAboutCortona[] = L"- Cortona 5.0";
inline constexpr wchar_t kAboutBlaxxun[] = L"- Blaxxun 5.1";
inline constexpr wchar_t kAboutCosmo[] = L"- CosmoPlayer 2.0";
inline constexpr wchar_t kAboutPivoron[] = L"- Pivoron";
inline constexpr wchar_t kAboutOctaga[] = L"- Octaga 2.1";
inline constexpr wchar_t kAboutBsContact[] = L"- BS Contact 7.0";
inline constexpr wchar_t kAboutFlux[] = L"- Flux 2.0";
inline constexpr wchar_t kAboutBugsHeading[] = L"BUG Connus :";
inline constexpr wchar_t kAboutConflict[] = L"- Conflit entre Blaxxun et BS Contact";
inline constexpr wchar_t kAboutVersion[] = L"Orbelin " ORBELIN_VERSION_SHORT;
inline constexpr wchar_t kAboutVersionFont[] = L"MS Sans Serif";
inline constexpr wchar_t kCopyright[] = L"" VANTREL_COPYRIGHT;

}  // namespace orbelin::text
