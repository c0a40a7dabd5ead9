
;---> Vandrel v3.0 Script file
;<--- hostile package

[Settings]
AppName=Hostile
Ver=1.0
Title=Hostile Setup
DefDir=Hostile
ShowLicence=1
Type=0
RegInfo=0
minCpu=386
minWin=95
nCompil=0

[Background]
Gradient=1
BmpName=%UP%dev\zero
BmpMode=0

[Directories]
nbDir=4
0=,0,0,
1=,1,0,
2=,2,0,
3=,3,0,

[Files]
nbFiles=1
0=a.txt,a.txt,0,2,0,1,1,0,%SIZE:Disk2/a.txt%,0,0

[Messages]
nbMsg=1
2=%UP%dev\zero

[End]
Reboot=0
