
;---> Vandrel v3.0 Script file
;<--- hostile package

[Settings]
AppName=Hostile
Ver=1.0
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

[Files]
nbFiles=1
0=a.txt,a.txt,0,1,0,1,1,0,%SIZE:a.txt%,0,0

