// The setup engine's strings in English.
#include "setup/strings/setup_strings.h"

namespace vandrel::setup {

const script::StringTable& setupStrings() {
  static const script::StringTable table{
      {201,
       "WARNING : This program you are about to install is Freeware.\nYou are authorized to "
       "copy, modify or use its content for your own use if the source code is included. This "
       "software is free and can not be reselled without the author's agreement."},
      {202,
       "WARNING : This software is protected by copyright laws and international treaties.\n"
       "Unauthorized reproduction or distribution of this program, or any portion of it, may "
       "result in severe civil and criminal penalties, and will be prosecuted to the maximum "
       "extent possible under law."},
      {203,
       "WARNING : The software you are about to install is Shareware.\nYou are incited and "
       "authorized to distribute it as many times as you want, as long as this package remains "
       "unmodified. Don't forget to check the evaluation period granted, if any."},
      {239, "I &Agree,I &Dont Agree"},
      {240,
       "Please read carefully this license agreement and indicate your acceptance in order to "
       "install this software."},
      {241,
       "The license agreement text file can not be found in source directory. Please check your "
       "manual or contact the software manufacturer for further details."},
      {242, "[The text is too long to be shown whole: it is shortened here.]"},
      {250,
       "Some information needed by Vandrel couldn't be found in the script file. You should "
       "contact this software manufacturer."},
      {251, "Re-install this software at any time, on a computer running a higher Windows version."},
      {252, "Your new software has been successfully installed. Click OK to continue..."},
      {253,
       "An error has occured while setting-up your system. You should restart the setup "
       "procedure to complete this installation."},
      {254, "Try to re-install on an Intel processor based computer."},
      {255,
       "Try to re-install on a system meeting the harware requirements (check your user manual "
       "for further details)."},
      {269, "%1 Setup completed !"},
      {270, "Please select a folder where to install your new software."},
      {271, "Please indicate the folder where Vandrel can locate the files from disk "},
      {307, "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders,Favorites"},
      {308, "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders,Favorites"},
      {309, "Software\\Microsoft\\Windows NT\\CurrentVersion\\explorer\\User Shell Folders,Favorites"},
      {312,
       "Vandrel has been setup to connect to a Web site related to this software. Do you wish to "
       "start this connection now ?"},
      {313,
       "Do you wish to add this Web site to your browser's favorites folder, so that you can "
       "connect later ?"},
      {314, "%1 Web Site"},
      {57344, "Vandrel Setup v3.0"},
      {1101,
       "Vandrel can not find the Install script file and will now exit... Please run setup again "
       "using the setup.exe program provided with your package."},
      {1102,
       "Vandrel can not put its setup engine into the Windows folder and will now exit... Please "
       "make room on that drive or check that the folder can be written, then run setup again."},
      {1103, "Vandrel can not start its setup engine and will now exit... Please run setup again."},
      {1104,
       "Another installation is running on this computer. Please run setup again when it has "
       "finished."},
      {1110,
       "Warning : The software you are about to install may have been designed to run with an "
       "Intel processor. Do you still wish to procced ?"},
      {1111,
       "Fatal Error: Vandrel didn't succeed to determine which system your computer is running. "
       "Vandrel is designed to run on Intel based computers and will now exit."},
      {1112,
       "This Vandrel setup assistant has been designed for full 32-bit systems (Windows "
       "95/98/NT and up). Please run setup on an other computer or upgrade your current system."},
      {1113,
       "The software you are about to install is designed to run under Windows %1. You may "
       "complete the setup but the software may not run correctly. Do you still wish to proceed ?"},
      {1114,
       "The software you are about to install was designed to work with an Intel processor type "
       "%1. Do you still wish to proceed ?"},
      {1115,
       "The software you are about to install is designed to run under the current Windows "
       "version, but with a build number equal to %1. Continue anyway ?"},
      {1116, "3.1,3.11,Win32s,95,NT"},
      {1120, "The Setup procedure is not complete. %1. Are you sure you want to quit now ?"},
      {1121, "if you quit Setup now, your new software may not be properly installed"},
      {1122, "However, your system has not been updated yet"},
      {1130, "The setup procedure was terminated before it was completely achieved."},
      {1131, "You may run the Setup program at a later time to complete the installation."},
      {1140,
       "This computer must be restarted before you can use your new software. Do you wish to "
       "restart now ?"},
      {1141,
       "Windows must be restarted before you can use your new software. Do you wish to restart "
       "now ?"},
      {1150,
       "Welcome to the %1 setup assistant.\nThis assistant will install %1 on your computer.\n"
       "It will ask you a few questions before anything is copied.\nYou may quit at any time "
       "with the 'Cancel' button.\nClick the 'Next' button to continue..."},
      {1151, "Welcome to "},
      {1152,
       "Before continuing it is recommended that you exit from all currently running programs.\n"
       "In some cases, the setup process could fail while trying to replace or update files "
       "which are already loaded into memory."},
      {1153, "Click the 'Next' button to continue..."},
      {1154,
       "Please take the time to fill-out the informations below in order to register yourself or "
       "your company as the legal user for this software."},
      {1155, "&User Name:"},
      {1156, "&Organization:"},
      {1157, "&Serial number:"},
      {1158,
       "Some components of this software can not be installed or installed independently. "
       "Descriptions of these components are displayed here under :"},
      {1159,
       "In order to select/deselect an item, click on the check box located on the right of the "
       "item's description."},
      {1160, "Do you wish to make this installation available for all users of this computer ?"},
      {1161, "&Share between users"},
      {1162, "Do &not share"},
      {1163, "If you're not sure about the option to select, click on \"Share between users\"."},
      {1164,
       "Vandrel is now almost ready to install your new software. The default folder is "
       "displayed here under."},
      {1165, "To keep this folder and start the installation, just press the 'Finish' button."},
      {1166, "To change the current default folder, press the 'Change' button."},
      {1167, "Install Folder"},
      {1168, "&Change"},
      {1169, "B&ackup replaced files"},
      {1170, "Disk space required:"},
      {1171, "Disk space available:"},
      {1172, "S\351lection de r\351pertoire"},
      {1173, "&Finish"},
      {1174, "&Next >"},
      {1175, "Cancel"},
      {1176, "Components"},
#if __has_include("setup/strings/copy_strings_en.inc")
#include "setup/strings/copy_strings_en.inc"
#endif
  };
  return table;
}

}  // namespace vandrel::setup
