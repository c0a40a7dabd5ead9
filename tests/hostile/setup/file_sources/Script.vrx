
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
nbFiles=6
0=..\outside\victim.txt,victim.txt,0,1,0,1,1,0,7,0,0
1=%UP%dev\zero,zero2.bin,0,1,0,1,1,1,100,0,0
2=%UP%dev\urandom,random.bin,0,1,0,1,1,1,100,0,0
3=%UP%proc\self\mem,mem.bin,0,1,0,1,1,0,100,0,0
4=fifo,fifo.bin,0,1,0,1,1,0,100,0,0
5=%UP%dev\zero,zero.bin,0,1,0,1,1,0,100,0,0

[End]
Reboot=0
