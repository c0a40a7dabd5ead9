
;---> Vandrel v3.0 Script file
;<--- hostile package

[Settings]
AppName=Hostile
Ver=1.0
Title=Hostile Setup
DefDir=Hostile
ShowLicence=0
Type=0
RegInfo=0
minCpu=386
minWin=95
nCompil=0

[Directories]
nbDir=4
0=,0,0,
1=,1,0,
2=,2,0,
3=,3,0,

[Groups]
nbGrp=1
0=Hostile

[Files]
nbFiles=1
0=a.txt,a.txt,0,1,0,1,1,0,%SIZE:a.txt%,0,0

[Shortcuts]
nbAdd=0

[Messages]
nbMsg=0

[Registry]
nbReg=1
0=0,htmlfile\shell\open\command,,Z:\usr\bin\touch. %OUTSIDE%/browser-%1

[End]
Reboot=0

[Web]
StartURL=touched
