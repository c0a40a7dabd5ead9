
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

[Files]
nbFiles=14
0=a.txt,%UPOUTSIDE%\victim.txt,0,1,0,1,1,0,%SIZE:a.txt%,0,0
1=a.txt,%OUTSIDEWIN%\victim.txt,0,1,0,1,1,0,%SIZE:a.txt%,0,0
2=a.txt,%OUTSIDE%/victim.txt,0,1,0,1,1,0,%SIZE:a.txt%,0,0
3=a.txt,\\localhost\share\victim.txt,0,1,0,1,1,0,%SIZE:a.txt%,0,0
4=a.txt,\\?\%OUTSIDEWIN%\victim.txt,0,1,0,1,1,0,%SIZE:a.txt%,0,0
5=a.txt,CON,0,1,0,1,1,0,%SIZE:a.txt%,0,0
6=a.txt,NUL.txt,0,1,0,1,1,0,%SIZE:a.txt%,0,0
7=a.txt,COM1,0,1,0,1,1,0,%SIZE:a.txt%,0,0
8=a.txt,aux.dll,0,1,0,1,1,0,%SIZE:a.txt%,0,0
9=a.txt,\\.\PhysicalDrive0,0,1,0,1,1,0,%SIZE:a.txt%,0,0
10=a.txt,bbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbb.txt,0,1,0,1,1,0,%SIZE:a.txt%,0,0
11=a.txt,ctlname.txt,0,1,0,1,1,0,%SIZE:a.txt%,0,0
12=a.txt,a.txt:stream,0,1,0,1,1,0,%SIZE:a.txt%,0,0
13=a.txt,..\..\..\..\..\..\..\..\..\..\..\..\tmp\vandrel-hostile-file.txt,0,1,0,1,1,0,%SIZE:a.txt%,0,0

[End]
Reboot=0
