[Settings]
AppName=Cancel groups
RegInfo=0
[Directories]
nbDir=4
0=,0,0,
1=,1,0,
2=,2,0,
3=,3,0,
[Groups]
nbGrp=3
0=One
1=Two
2=Three
[AddINI]
nbINI=1
0=Cancel groups,Reached,yes
[Files]
nbFiles=1
0=tool.exe,tool.exe,0,1,0,1,1,0,%SIZE:Disk1\tool.exe%,0,0
[Shortcuts]
nbAdd=3
0=tool.exe,0,0,A
1=tool.exe,0,1,B
2=tool.exe,0,2,C
