
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
nbDir=10
0=%OUTSIDEWIN%,0,0,Z
1=%OUTSIDEWIN%,1,0,Z root
2=%OUTSIDE%,1,0,Host path
3=\\localhost\share\vandrel-hostile,1,0,UNC
4=\\?\%OUTSIDEWIN%,1,0,Long form
5=\\.\PhysicalDrive0,1,0,Device
6=,0,0,
7=,1,0,
8=,2,0,
9=,3,0,

[Files]
nbFiles=6
0=victim.txt,victim.txt,0,1,0,1,1,0,%SIZE:victim.txt%,0,0
1=victim.txt,victim.txt,1,1,0,1,1,0,%SIZE:victim.txt%,0,0
2=victim.txt,victim.txt,2,1,0,1,1,0,%SIZE:victim.txt%,0,0
3=victim.txt,victim.txt,3,1,0,1,1,0,%SIZE:victim.txt%,0,0
4=victim.txt,victim.txt,4,1,0,1,1,0,%SIZE:victim.txt%,0,0
5=victim.txt,victim.txt,5,1,0,1,1,0,%SIZE:victim.txt%,0,0

[End]
Reboot=0
