script
