#pragma once
// Every text OrbelinCtl prints, in one place.

namespace orbelin::ctl::text {

inline constexpr wchar_t kUsage[] =
    L"Usage : OrbelinCtl <commande>\n"
    L"  list                     les sept viewers, installés ou non, et celui en vigueur\n"
    L"  status                   pour chaque type MIME et extension : valeur machine, valeur\n"
    L"                           par utilisateur qui la masque, résultat effectif\n"
    L"  set VIEWER               fait de VIEWER le viewer par défaut (tout ou rien)\n"
    L"  export VIEWER FICHIER    écrit un fichier .reg avec les valeurs qu'écrit ce choix\n"
    L"  backup FICHIER           sauvegarde les valeurs qu'un choix modifie\n"
    L"  restore FICHIER          remet les valeurs sauvegardées, absentes comprises\n"
    L"Viewers : Cortona, Blaxxun, Pivoron, CosmoPlayer, \"BS Contact\", Octaga, Flux\n"
    L"Codes de sortie : 0 succès, 2 usage, 3 accès refusé (lancer en administrateur),\n"
    L"4 autre erreur, 5 (status) une valeur par utilisateur masque le choix de la machine\n";
inline constexpr wchar_t kUnknownCommand[] = L"Commande inconnue : ";
inline constexpr wchar_t kWrongArguments[] = L"Nombre d'arguments incorrect pour : ";
inline constexpr wchar_t kUnknownViewer[] = L"Viewer inconnu : ";
inline constexpr wchar_t kErrorPrefix[] = L"Erreur ";
inline constexpr wchar_t kSetDone[] = L"Viewer par défaut : ";
inline constexpr wchar_t kExportDone[] = L"Fichier de registre écrit : ";
inline constexpr wchar_t kBackupDone[] = L"Sauvegarde écrite : ";
inline constexpr wchar_t kRestoreDone[] = L"Valeurs restaurées depuis : ";

inline constexpr wchar_t kInstalled32[] = L"installé (32 bits)";
inline constexpr wchar_t kInstalled64[] = L"installé (64 bits)";
inline constexpr wchar_t kInstalledBoth[] = L"installé (32 et 64 bits)";
inline constexpr wchar_t kNotInstalled[] = L"non installé";
inline constexpr wchar_t kInForce[] = L"  <- en vigueur";

inline constexpr wchar_t kColumnName[] = L"Type ou extension";
inline constexpr wchar_t kColumnMachine[] = L"Machine";
inline constexpr wchar_t kColumnUser[] = L"Par utilisateur";
inline constexpr wchar_t kColumnEffective[] = L"Effectif";
inline constexpr wchar_t kAbsent[] = L"(absente)";
inline constexpr wchar_t kUserClasses[] = L"Software\\Classes";
inline constexpr wchar_t kUserChoice[] = L"choix de l'Explorateur";
inline constexpr wchar_t kShadowed[] = L"  <- masque le choix de la machine";
inline constexpr wchar_t kShadowedSummary[] =
    L"Des valeurs par utilisateur masquent le choix de la machine pour cet utilisateur.\n";

}  // namespace orbelin::ctl::text
