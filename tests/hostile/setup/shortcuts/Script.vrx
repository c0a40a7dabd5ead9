
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
nbAdd=5
0=a.txt,0,0,%UPOUTSIDE%\victim,,0
1=%OUTSIDEWIN%\victim.exe,1000,0,%UP%tmp\vandrel-hostile-link,,0
2=a.txt,0,0,%OUTSIDEWIN%\victim,,0
3=a.txt,0,0,CON,,0
4=a.txt,0,0,\\localhost\share\victim,,0

[Messages]
nbMsg=0

[End]
Reboot=0

