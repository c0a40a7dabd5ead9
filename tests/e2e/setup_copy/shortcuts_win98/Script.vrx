[Settings]
AppName=Shortcuts
[Directories]
nbDir=5
0=Bin,0,0,
1=,0,0,
2=,1,0,
3=,2,0,
4=,3,0,
[Groups]
nbGrp=2
0=[desktop]
1=Tool Group
[Files]
nbFiles=1
0=tool.exe,tool.exe,0,1,0,1,1,0,%SIZE:Disk1\tool.exe%,0,0
[Shortcuts]
nbAdd=3
0=tool.exe,0,1,Tool,-user [u] [0],0
1=tool.exe,0,1,NT Tool,,2
2=tool.exe,0,0,Tool on desktop,,0
