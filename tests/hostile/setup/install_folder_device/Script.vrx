
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
nbDir=5
0=Data,0,0,Data
1=,0,0,
2=,1,0,
3=,2,0,
4=,3,0,

[Files]
nbFiles=2
0=victim.txt,victim.txt,1,1,0,1,1,0,%SIZE:victim.txt%,0,0
1=victim.txt,inner.txt,0,1,0,1,1,0,%SIZE:victim.txt%,0,0

[End]
Reboot=0
