;---> Vandrel v3.0 Script file
;<--- a package of one file

[Settings]
AppName=Demo
Ver=1.0
Title=Demo Setup
LoadTxt=
LoadBmp=
DefDir=Demo
ShowLicence=0
Type=0
RegInfo=0
OwnMsg=
minCpu=386
minWin=95
nCompil=0

[Directories]
nbDir=6
0=Data,0,0,Data
1=Data\Logs,0,0,Logs
2=,0,0,
3=,1,0,
4=,2,0,
5=,3,0,

[Descriptions]
nbDesc=1
0=Program files

[Groups]
nbGrp=1
0=Demo

[AddINI]
nbINI=2
0=Demo,Path,[2]
1=Desktop,Wallpaper,demo.bmp

[Registry]
nbReg=5
0=2,Software\Demo,Path,[2],1
1=2,Software\Demo,,,0
2=1,Software\Demo,User,[u],1
3=2,Software\Microsoft\Windows\CurrentVersion\Uninstall\Demo 1.0,DisplayName,Demo 1.0,1
4=2,Software\Microsoft\Windows\CurrentVersion\Uninstall\Demo 1.0,UninstallString,[5]\Peskin32.exe [2],0

[Files]
nbFiles=1
0=demo.exe,demo.exe,2,1,0,1,1,0,%SIZE:demo.exe%,0,0

[Shortcuts]
nbAdd=0

[Messages]
nbMsg=0

[End]
Reboot=0
