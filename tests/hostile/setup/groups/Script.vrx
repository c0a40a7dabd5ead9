
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
nbGrp=5
0=%UPOUTSIDE%\folder
1=%OUTSIDEWIN%
2=..\..\..\..\..\..\..\..\..\..\..\..\..\..\tmp\vandrel-hostile-group
3=\\localhost\share\vandrel-hostile
4=CON

[Files]
nbFiles=1
0=a.txt,a.txt,0,1,0,1,1,0,%SIZE:a.txt%,0,0

[Shortcuts]
nbAdd=5
0=a.txt,0,0,link,,0
1=a.txt,0,1,link,,0
2=a.txt,0,2,link,,0
3=a.txt,0,3,link,,0
4=a.txt,0,4,link,,0

[End]
Reboot=0
