// The uninstaller's strings in French. Names that other programs and files rely on (script
// name, sections, keys, registry key) stay as they are.
#include "uninstall/strings/uninstall_strings.h"

namespace vandrel::uninstall {

const script::StringTable& uninstallStrings() {
  static const script::StringTable table{
#include "uninstall/strings/uninstall_names.inc"
      {203,
       "Dallow ne trouve pas le fichier script d'installation utilis\xe9 par Setup dans le "
       "dossier indiqu\xe9 et va maintenant s'arr\xeater..."},
      {204,
       "Le fichier script utilis\xe9 par Setup semble avoir \xe9t\xe9 endommag\xe9 ou modifi\xe9. "
       "La d\xe9sinstallation risque d'\xeatre incompl\xe8te. Voulez-vous continuer malgr\xe9 "
       "tout ?"},
      {205,
       "Le fichier script utilis\xe9 par Setup semble avoir \xe9t\xe9 endommag\xe9 ou modifi\xe9. "
       "La d\xe9sinstallation risque d'\xeatre incompl\xe8te. Voulez-vous continuer malgr\xe9 "
       "tout ?"},
      {206,
       "La d\xe9sinstallation n'a pas pu \xeatre men\xe9" "e \xe0 son terme. Il est possible que "
       "le logiciel ne fonctionne plus correctement."},
      {207,
       "Veuillez lancer le programme de d\xe9sinstallation en double-cliquant sur son ic\xf4ne. "
       "Merci !"},
      {215, "La d\xe9sinstallation s'est termin\xe9" "e avec succ\xe8s."},
      {216,
       "Dallow supprime %1 de votre ordinateur. Veuillez patienter pendant la suppression des "
       "composants..."},
      {220,
       "Vous allez supprimer %1 de votre ordinateur. Voulez-vous vraiment continuer ?"},
      {221, "Software\\Microsoft\\Windows\\CurrentVersion\\SharedDLLs"},
      {222,
       "Le fichier partag\xe9 %1 n'est plus utilis\xe9 par aucun programme. Voulez-vous "
       "l'effacer ?"},
      {224,
       "La d\xe9sinstallation est termin\xe9" "e, mais certains \xe9l\xe9ments n'ont pas pu "
       "\xeatre supprim\xe9s. Vous devrez effacer vous-m\xeame les fichiers restants..."},
      {225,
       "Une autre installation ou d\xe9sinstallation est en cours sur cet ordinateur. Veuillez "
       "relancer la d\xe9sinstallation lorsqu'elle sera termin\xe9" "e."},
      {1001, "L\xe9gende"},
      {1004, "Fichiers partag\xe9s..."},
      {1005, "Fichiers du programme..."},
      {1008, "Groupes et raccourcis..."},
      {1010, "Dossiers de l'application..."},
      {1012, "Entr\xe9" "es de la base de registres..."},
      {57344, "Dallow v3.0"},
  };
  return table;
}

}  // namespace vandrel::uninstall
