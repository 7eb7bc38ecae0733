#pragma once
// Error descriptions composed by the portable code, in the programs' language.
// Window texts live in each program's own texts header (ui/texts.h, uninstall/texts.h).

namespace orbelin::messages {

inline constexpr wchar_t kBadRegistryPath[] = L"Chemin de registre invalide : ";
inline constexpr wchar_t kUnknownRoot[] = L"Racine de registre inconnue : ";
inline constexpr wchar_t kRegistryNotFound[] = L"Clé ou valeur introuvable : ";
inline constexpr wchar_t kRegistryWrongType[] = L"Type de valeur inattendu pour : ";
inline constexpr wchar_t kRegistryAccessDenied[] = L"Accès refusé au registre : ";
inline constexpr wchar_t kRollbackFailed[] =
    L"\nLa restauration des valeurs précédentes a échoué : le registre peut être incomplet.";
inline constexpr wchar_t kRollbackDone[] = L"\nAucune valeur n'a été modifiée.";
inline constexpr wchar_t kNotANumber[] = L"Incompatibilité de type : ce n'est pas un nombre entier : ";

}  // namespace orbelin::messages

namespace orbelin::messages {

// The error report both programs show: number, then description.
inline constexpr wchar_t kErrorReportNumber[] = L"Erreur d'exécution '";
inline constexpr wchar_t kErrorReportAfterNumber[] = L"' :\n\n";
inline constexpr wchar_t kUnexpectedError[] = L"Erreur inattendue";
inline constexpr wchar_t kOutOfMemory[] = L"Mémoire insuffisante";

}  // namespace orbelin::messages

namespace orbelin::messages {

inline constexpr wchar_t kRegFileNoMark[] = L"Fichier de registre sans marque d'ordre des octets UTF-16";
inline constexpr wchar_t kRegFileBadHeader[] = L"En-tête de fichier de registre inconnu";
inline constexpr wchar_t kRegFileBadLine[] = L"Ligne de fichier de registre invalide : ";

}  // namespace orbelin::messages
