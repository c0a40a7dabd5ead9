
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

[AddINI]
nbINI=4
0=%UPOUTSIDE%,victim,1
1=..\..\Section],key=x,[0]
2=ctl,key,v
3=ssssssssssssssssssssssssssssssssssssssssssssssssssssssssssssssssssssssssssssssssssssssssssssssssssssssssssssssssssssssssssssssssssssssssssssssssssssssssssssssssssssssssssssssssssssssssssssssssssssssssssssssssssssssssssssssssssssssssssssssssssssssssss,k,v

[Registry]
nbReg=6
0=2,%UPOUTSIDE%,victim,x,1
1=2,..\..\..\..\Software,x,y,1
2=1,\\?\%OUTSIDEWIN%,name,value,1
3=9,Software\Hostile,name,value,1
4=2,Software\ctlkey,name,v,1
5=2,Software\Hostile\rrrrrrrrrrrrrrrrrrrrrrrrrrrrrrrrrrrrrrrrrrrrrrrrrrrrrrrrrrrrrrrrrrrrrrrrrrrrrrrrrrrrrrrrrrrrrrrrrrrrrrrrrrrrrrrrrrrrrrrrrrrrrrrrrrrrrrrrrrrrrrrrrrrrrrrrrrrrrrrrrrrrrrrrrrrrrrrrrrrrrrrrrrrrrrrrrrrrrrrrrrrrrrrrrrrrrrrrrrrrrrrrrrrrrrrrrrrrrrrrrrrrrrrrrr,n,v,1

[Files]
nbFiles=1
0=a.txt,a.txt,0,1,0,1,1,0,%SIZE:a.txt%,0,0

[End]
Reboot=0
