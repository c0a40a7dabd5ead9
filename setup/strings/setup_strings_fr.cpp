// The setup engine's strings in French, in the single-byte code page (Latin-1 octal escapes).
#include "setup/strings/setup_strings.h"

namespace vandrel::setup {

const script::StringTable& setupStrings() {
  static const script::StringTable table{
      {201,
       "ATTENTION : Le programme que vous allez installer est un Freeware.\nVous \352tes autoris\351 \340 "
       "copier, modifier ou utiliser son contenu pour votre propre usage si le code source est "
       "inclus. Ce logiciel est gratuit et ne peut \352tre revendu sans l'accord de son auteur."},
      {202,
       "ATTENTION : Ce logiciel est prot\351g\351 par les lois sur le droit d'auteur et les trait\351s "
       "internationaux.\nToute reproduction ou distribution non autoris\351e de ce programme, ou "
       "d'une partie de celui-ci, peut entra\356ner de s\351v\350res sanctions civiles et p\351nales, et "
       "fera l'objet de poursuites dans toute la mesure permise par la loi."},
      {203,
       "ATTENTION : Le logiciel que vous allez installer est un Shareware.\nVous \352tes invit\351 et "
       "autoris\351 \340 le distribuer autant de fois que vous le souhaitez, tant que ce paquet reste "
       "inchang\351. N'oubliez pas de v\351rifier la p\351riode d'\351valuation accord\351e, s'il y en a une."},
      {239, "J'&accepte,Je &refuse"},
      {240,
       "Veuillez lire attentivement ce contrat de licence et indiquer votre acceptation afin "
       "d'installer ce logiciel."},
      {241,
       "Le fichier du contrat de licence est introuvable dans le r\351pertoire source. Veuillez "
       "consulter votre manuel ou contacter le fabricant du logiciel pour plus de d\351tails."},
      {242, "[Le texte est trop long pour \352tre affich\351 en entier : il est raccourci ici.]"},
      {250,
       "Certaines informations n\351cessaires \340 Vandrel sont introuvables dans le fichier script. "
       "Vous devriez contacter le fabricant de ce logiciel."},
      {251,
       "R\351installez ce logiciel \340 tout moment, sur un ordinateur \351quip\351 d'une version de Windows "
       "plus r\351cente."},
      {252,
       "Votre nouveau logiciel a \351t\351 install\351 avec succ\350s. Cliquez sur OK pour continuer..."},
      {253,
       "Une erreur s'est produite lors de la configuration de votre syst\350me. Vous devriez "
       "relancer la proc\351dure d'installation pour la terminer."},
      {254, "Essayez de r\351installer sur un ordinateur \351quip\351 d'un processeur Intel."},
      {255,
       "Essayez de r\351installer sur un syst\350me conforme \340 la configuration mat\351rielle requise "
       "(consultez votre manuel pour plus de d\351tails)."},
      {269, "Installation de %1 termin\351e !"},
      {270, "Veuillez choisir un r\351pertoire o\371 installer votre nouveau logiciel."},
      {271, "Veuillez indiquer le r\351pertoire o\371 Vandrel peut trouver les fichiers de la disquette "},
      {307, "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders,Favorites"},
      {308, "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders,Favorites"},
      {309, "Software\\Microsoft\\Windows NT\\CurrentVersion\\explorer\\User Shell Folders,Favorites"},
      {312,
       "Vandrel a \351t\351 configur\351 pour se connecter \340 un site Web li\351 \340 ce logiciel. Voulez-vous "
       "\351tablir cette connexion maintenant ?"},
      {313,
       "Voulez-vous ajouter ce site Web aux favoris de votre navigateur, afin de pouvoir vous y "
       "connecter plus tard ?"},
      {314, "Site Web de %1"},
      {57344, "Vandrel Setup v3.0"},
      {1101,
       "Vandrel ne trouve pas le fichier script d'installation et va maintenant s'arr\352ter... "
       "Veuillez relancer l'installation avec le programme setup.exe fourni avec votre paquet."},
      {1102,
       "Vandrel ne peut pas placer son moteur d'installation dans le r\351pertoire de Windows et "
       "va maintenant quitter... Lib\351rez de la place sur ce lecteur ou v\351rifiez que ce "
       "r\351pertoire est accessible en \351criture, puis relancez l'installation."},
      {1103,
       "Vandrel ne peut pas d\351marrer son moteur d'installation et va maintenant quitter... "
       "Veuillez relancer l'installation."},
      {1104,
       "Une autre installation est en cours sur cet ordinateur. Veuillez relancer l'installation "
       "lorsqu'elle sera termin\351e."},
      {1110,
       "Attention : Le logiciel que vous allez installer a pu \352tre con\347u pour fonctionner avec "
       "un processeur Intel. Voulez-vous tout de m\352me continuer ?"},
      {1111,
       "Erreur fatale : Vandrel n'a pas r\351ussi \340 d\351terminer le syst\350me de votre ordinateur. "
       "Vandrel est con\347u pour les ordinateurs \340 processeur Intel et va maintenant s'arr\352ter."},
      {1112,
       "Cet assistant d'installation Vandrel a \351t\351 con\347u pour les syst\350mes 32 bits complets "
       "(Windows 95/98/NT et suivants). Veuillez lancer l'installation sur un autre ordinateur "
       "ou mettre \340 jour votre syst\350me."},
      {1113,
       "Le logiciel que vous allez installer est con\347u pour fonctionner sous Windows %1. Vous "
       "pouvez terminer l'installation mais le logiciel risque de ne pas fonctionner "
       "correctement. Voulez-vous tout de m\352me continuer ?"},
      {1114,
       "Le logiciel que vous allez installer a \351t\351 con\347u pour un processeur Intel de type %1. "
       "Voulez-vous tout de m\352me continuer ?"},
      {1115,
       "Le logiciel que vous allez installer est con\347u pour la version actuelle de Windows, mais "
       "avec un num\351ro de build \351gal \340 %1. Continuer quand m\352me ?"},
      {1116, "3.1,3.11,Win32s,95,NT"},
      {1120,
       "La proc\351dure d'installation n'est pas termin\351e. %1. \312tes-vous s\373r de vouloir quitter "
       "maintenant ?"},
      {1121, "si vous quittez maintenant, votre nouveau logiciel risque d'\352tre mal install\351"},
      {1122, "Cependant, votre syst\350me n'a pas encore \351t\351 modifi\351"},
      {1130, "La proc\351dure d'installation a \351t\351 interrompue avant d'\352tre termin\351e."},
      {1131, "Vous pourrez relancer le programme d'installation plus tard pour la terminer."},
      {1140,
       "Cet ordinateur doit \352tre red\351marr\351 avant que vous puissiez utiliser votre nouveau "
       "logiciel. Voulez-vous red\351marrer maintenant ?"},
      {1141,
       "Windows doit \352tre red\351marr\351 avant que vous puissiez utiliser votre nouveau logiciel. "
       "Voulez-vous red\351marrer maintenant ?"},
      {1150,
       "Bienvenue dans l'assistant d'installation de %1.\nCet assistant va installer %1 sur "
       "votre ordinateur.\nIl vous posera quelques questions avant de copier quoi que ce soit.\n"
       "Vous pouvez quitter \340 tout moment avec le bouton 'Annuler'.\nCliquez sur le bouton "
       "'Suivant' pour continuer..."},
      {1151, "Bienvenue dans "},
      {1152,
       "Avant de continuer, il est recommand\351 de quitter tous les programmes en cours "
       "d'ex\351cution.\nDans certains cas, l'installation pourrait \351chouer en essayant de "
       "remplacer ou de mettre \340 jour des fichiers d\351j\340 charg\351s en m\351moire."},
      {1153, "Cliquez sur le bouton 'Suivant' pour continuer..."},
      {1154,
       "Veuillez prendre le temps de remplir les informations ci-dessous afin de vous "
       "enregistrer, vous ou votre soci\351t\351, comme utilisateur l\351gal de ce logiciel."},
      {1155, "&Nom d'utilisateur :"},
      {1156, "&Organisation :"},
      {1157, "Num\351ro de &s\351rie :"},
      {1158,
       "Certains composants de ce logiciel peuvent \352tre install\351s ou non, ou install\351s "
       "s\351par\351ment. Leurs descriptions sont affich\351es ci-dessous :"},
      {1159,
       "Pour s\351lectionner ou d\351s\351lectionner un \351l\351ment, cliquez sur la case \340 cocher situ\351e \340 "
       "droite de sa description."},
      {1160, "Voulez-vous rendre cette installation disponible pour tous les utilisateurs de cet ordinateur ?"},
      {1161, "&Partager entre utilisateurs"},
      {1162, "&Ne pas partager"},
      {1163, "Si vous n'\352tes pas s\373r de l'option \340 choisir, cliquez sur \"Partager entre utilisateurs\"."},
      {1164,
       "Vandrel est presque pr\352t \340 installer votre nouveau logiciel. Le r\351pertoire par d\351faut est "
       "affich\351 ci-dessous."},
      {1165, "Pour conserver ce r\351pertoire et lancer l'installation, appuyez sur le bouton 'Terminer'."},
      {1166, "Pour changer le r\351pertoire par d\351faut, appuyez sur le bouton 'Changer'."},
      {1167, "R\351pertoire d'installation"},
      {1168, "&Changer"},
      {1169, "&Sauvegarder les fichiers remplac\351s"},
      {1170, "Espace disque requis :"},
      {1171, "Espace disque disponible :"},
      {1172, "S\351lection de r\351pertoire"},
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
