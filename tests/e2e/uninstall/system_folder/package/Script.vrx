
;---> Vandrel v3.0 Script file
;<--- system folder test package: one shared file for the Windows System directory

[Settings]
AppName=Sys
Ver=1.0
Title=Sys Setup
LoadTxt=
LoadBmp=
DefDir=Sys
ShowLicence=0
Type=0
RegInfo=0
OwnMsg=
minCpu=386
minWin=95
nCompil=0

[Directories]
nbDir=4
0=,0,0,
1=,1,0,
2=,2,0,
3=,3,0,

[Descriptions]
nbDesc=0

[Groups]
nbGrp=0

[AddINI]
nbINI=0

[Registry]
nbReg=2
0=2,Software\Microsoft\Windows\CurrentVersion\Uninstall\Sys 1.0,DisplayName,Sys 1.0,1
1=2,Software\Microsoft\Windows\CurrentVersion\Uninstall\Sys 1.0,UninstallString,[3]\Peskin32.exe [0],0

[Files]
nbFiles=2
0=Peskin32.ex_,Peskin32.exe,3,1,1000,0,1,1,%SIZE:Peskin32.ex_%,0,0
1=sys16.dll,sys16.dll,2,1,0,1,1,0,%SIZE:sys16.dll%,0,1

[Shortcuts]
nbAdd=0

[Messages]
nbMsg=0

[End]
Reboot=0
