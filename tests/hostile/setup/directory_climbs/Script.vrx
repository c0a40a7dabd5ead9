
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
nbDir=7
0=%UPOUTSIDE%,0,0,Out
1=%UP%tmp\vandrel-hostile-dir,1,0,Tmp
2=%UPOUTSIDE%\folder,3,0,Folder
3=,0,0,
4=,1,0,
5=,2,0,
6=,3,0,

[Files]
nbFiles=4
0=victim.txt,victim.txt,0,1,0,1,1,0,%SIZE:victim.txt%,0,0
1=a.txt,a.txt,1,1,0,1,1,0,%SIZE:a.txt%,0,0
2=a.txt,inner.txt,2,1,0,1,1,0,%SIZE:a.txt%,0,0
3=a.txt,a.txt,3,1,0,1,1,0,%SIZE:a.txt%,0,0

[End]
Reboot=0
