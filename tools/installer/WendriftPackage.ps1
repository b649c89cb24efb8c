# Registers Wendrift's Windows 11 package for the user who runs it (the installer for the
# installing user; Active Setup for every other user at their next logon), or removes it for
# every user (the uninstaller). The package sits beside the programs it gives an identity to,
# and that folder is its external location.
# Usage: WendriftPackage.ps1 register | WendriftPackage.ps1 unregister <package name>
param(
    [Parameter(Mandatory = $true)][ValidateSet('register', 'unregister')][string]$Action,
    [string]$Name
)
$ErrorActionPreference = 'Stop'
if ($Action -eq 'register') {
    Add-AppxPackage -Path (Join-Path $PSScriptRoot 'Wendrift.msix') -ExternalLocation $PSScriptRoot
} else {
    Get-AppxPackage -AllUsers -Name $Name | Remove-AppxPackage -AllUsers
}
