// The setup engine's strings in French.
#include "setup/strings/setup_strings.h"

namespace vandrel::setup {

const script::StringTable& setupStrings() {
  static const script::StringTable table{
      {201,
       "ATTENTION : Le programme que vous allez installer est un Freeware.\nVous êtes autorisé à "
       "copier, modifier ou utiliser son contenu pour votre propre usage si le code source est "
       "inclus. Ce logiciel est gratuit et ne peut être revendu sans l'accord de son auteur."},
      {202,
       "ATTENTION : Ce logiciel est protégé par les lois sur le droit d'auteur et les traités "
       "internationaux.\nToute reproduction ou distribution non autorisée de ce programme, ou "
       "d'une partie de celui-ci, peut entraîner de sévères sanctions civiles et pénales, et "
       "fera l'objet de poursuites dans toute la mesure permise par la loi."},
      {203,
       "ATTENTION : Le logiciel que vous allez installer est un Shareware.\nVous êtes invité et "
       "autorisé à le distribuer autant de fois que vous le souhaitez, tant que ce paquet reste "
       "inchangé. N'oubliez pas de vérifier la période d'évaluation accordée, s'il y en a une."},
      {212,
       "Settings,Background,Directories,Descriptions,Groups,AddINI,Registry,Files,Shortcuts,"
       "Messages,End,UnInstall,Owner,Web,SharedFiles,AddedLinks,AddedFolders"},
      {215, "1,2,nbDir,nbDesc,nbGrp,nbINI,nbReg,nbFiles,nbAdd,nbMsg,11,nb,13,nb,nb,nb,nb"},
      {239, "J'&accepte,Je &refuse"},
      {240,
       "Veuillez lire attentivement ce contrat de licence et indiquer votre acceptation afin "
       "d'installer ce logiciel."},
      {241,
       "Le fichier du contrat de licence est introuvable dans le répertoire source. Veuillez "
       "consulter votre manuel ou contacter le fabricant du logiciel pour plus de détails."},
      {250,
       "Certaines informations nécessaires à Vandrel sont introuvables dans le fichier script. "
       "Vous devriez contacter le fabricant de ce logiciel."},
      {251,
       "Réinstallez ce logiciel à tout moment, sur un ordinateur équipé d'une version de Windows "
       "plus récente."},
      {252,
       "Votre nouveau logiciel a été installé avec succès. Cliquez sur OK pour continuer..."},
      {253,
       "Une erreur s'est produite lors de la configuration de votre système. Vous devriez "
       "relancer la procédure d'installation pour la terminer."},
      {254, "Essayez de réinstaller sur un ordinateur équipé d'un processeur Intel."},
      {255,
       "Essayez de réinstaller sur un système conforme à la configuration matérielle requise "
       "(consultez votre manuel pour plus de détails)."},
      {269, "Installation de %1 terminée !"},
      {270, "Veuillez choisir un répertoire où installer votre nouveau logiciel."},
      {271, "Veuillez indiquer le répertoire où Vandrel peut trouver les fichiers de la disquette "},
      {307, "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders,Favorites"},
      {308, "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders,Favorites"},
      {309, "Software\\Microsoft\\Windows NT\\CurrentVersion\\explorer\\User Shell Folders,Favorites"},
      {310, "StartURL"},
      {312,
       "Vandrel a été configuré pour se connecter à un site Web lié à ce logiciel. Voulez-vous "
       "établir cette connexion maintenant ?"},
      {313,
       "Voulez-vous ajouter ce site Web aux favoris de votre navigateur, afin de pouvoir vous y "
       "connecter plus tard ?"},
      {314, "Site Web de %1"},
      {57344, "Vandrel Setup v3.0"},
      {1101,
       "Vandrel ne trouve pas le fichier script d'installation et va maintenant s'arrêter... "
       "Veuillez relancer l'installation avec le programme setup.exe fourni avec votre paquet."},
      {1110,
       "Attention : Le logiciel que vous allez installer a pu être conçu pour fonctionner avec "
       "un processeur Intel. Voulez-vous tout de même continuer ?"},
      {1111,
       "Erreur fatale : Vandrel n'a pas réussi à déterminer le système de votre ordinateur. "
       "Vandrel est conçu pour les ordinateurs à processeur Intel et va maintenant s'arrêter."},
      {1112,
       "Cet assistant d'installation Vandrel a été conçu pour les systèmes 32 bits complets "
       "(Windows 95/98/NT et suivants). Veuillez lancer l'installation sur un autre ordinateur "
       "ou mettre à jour votre système."},
      {1113,
       "Le logiciel que vous allez installer est conçu pour fonctionner sous Windows %1. Vous "
       "pouvez terminer l'installation mais le logiciel risque de ne pas fonctionner "
       "correctement. Voulez-vous tout de même continuer ?"},
      {1114,
       "Le logiciel que vous allez installer a été conçu pour un processeur Intel de type %1. "
       "Voulez-vous tout de même continuer ?"},
      {1115,
       "Le logiciel que vous allez installer est conçu pour la version actuelle de Windows, mais "
       "avec un numéro de build égal à %1. Continuer quand même ?"},
      {1116, "3.1,3.11,Win32s,95,NT"},
      {1120,
       "La procédure d'installation n'est pas terminée. %1. Êtes-vous sûr de vouloir quitter "
       "maintenant ?"},
      {1121, "si vous quittez maintenant, votre nouveau logiciel risque d'être mal installé"},
      {1122, "Cependant, votre système n'a pas encore été modifié"},
      {1130, "La procédure d'installation a été interrompue avant d'être terminée."},
      {1131, "Vous pourrez relancer le programme d'installation plus tard pour la terminer."},
      {1140,
       "Cet ordinateur doit être redémarré avant que vous puissiez utiliser votre nouveau "
       "logiciel. Voulez-vous redémarrer maintenant ?"},
      {1141,
       "Windows doit être redémarré avant que vous puissiez utiliser votre nouveau logiciel. "
       "Voulez-vous redémarrer maintenant ?"},
      {1150,
       "Bienvenue dans l'assistant d'installation de %1.\nCet assistant va installer %1 sur "
       "votre ordinateur.\nIl vous posera quelques questions avant de copier quoi que ce soit.\n"
       "Vous pouvez quitter à tout moment avec le bouton 'Annuler'.\nCliquez sur le bouton "
       "'Suivant' pour continuer..."},
      {1151, "Bienvenue dans "},
      {1152,
       "Avant de continuer, il est recommandé de quitter tous les programmes en cours "
       "d'exécution.\nDans certains cas, l'installation pourrait échouer en essayant de "
       "remplacer ou de mettre à jour des fichiers déjà chargés en mémoire."},
      {1153, "Cliquez sur le bouton 'Suivant' pour continuer..."},
      {1154,
       "Veuillez prendre le temps de remplir les informations ci-dessous afin de vous "
       "enregistrer, vous ou votre société, comme utilisateur légal de ce logiciel."},
      {1155, "&Nom d'utilisateur :"},
      {1156, "&Organisation :"},
      {1157, "Numéro de &série :"},
      {1158,
       "Certains composants de ce logiciel peuvent être installés ou non, ou installés "
       "séparément. Leurs descriptions sont affichées ci-dessous :"},
      {1159,
       "Pour sélectionner ou désélectionner un élément, cliquez sur la case à cocher située à "
       "droite de sa description."},
      {1160, "Voulez-vous rendre cette installation disponible pour tous les utilisateurs de cet ordinateur ?"},
      {1161, "&Partager entre utilisateurs"},
      {1162, "Ne &pas partager"},
      {1163, "Si vous n'êtes pas sûr de l'option à choisir, cliquez sur \"Partager entre utilisateurs\"."},
      {1164,
       "Vandrel est presque prêt à installer votre nouveau logiciel. Le répertoire par défaut est "
       "affiché ci-dessous."},
      {1165, "Pour conserver ce répertoire et lancer l'installation, appuyez sur le bouton 'Terminer'."},
      {1166, "Pour changer le répertoire par défaut, appuyez sur le bouton 'Changer'."},
      {1167, "Répertoire d'installation"},
      {1168, "&Changer"},
      {1169, "&Sauvegarder les fichiers remplacés"},
      {1170, "Espace disque requis :"},
      {1171, "Espace disque disponible :"},
      {1172, "Sélection de répertoire"},
      {1173, "&Terminer"},
      {1174, "&Suivant >"},
      {1175, "Annuler"},
      {1176, "Composants"},
#if __has_include("setup/strings/copy_strings_fr.inc")
#include "setup/strings/copy_strings_fr.inc"
#endif
  };
  return table;
}

}  // namespace vandrel::setup
